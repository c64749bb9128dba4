#include "ui/WorkerRun.h"

#include <utility>

#include <QThread>

namespace ui {

WorkerRun::WorkerRun(QObject* parent) : QObject(parent) {}

WorkerRun::~WorkerRun()
{
    if (m_thread) {
        requestStop();
        m_thread->wait();
        delete m_thread;
    }
}

void WorkerRun::start(std::function<void()> work)
{
    m_running = true;
    m_thread = QThread::create([this, work = std::move(work)] {
        work();
        // Queued behind whatever the work posted, so the window has every line before it hears the end.
        post([this] {
            m_running = false;
            emit finished();
        });
    });
    m_thread->start();
}

void WorkerRun::post(std::function<void()> onWindowThread)
{
    QMetaObject::invokeMethod(this, std::move(onWindowThread), Qt::QueuedConnection);
}

} // namespace ui
