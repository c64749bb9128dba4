#pragma once

#include <atomic>
#include <functional>

#include <QObject>

class QThread;

namespace ui {

// Long work of a window (a pricing run, a price book) on a thread of its own, so the window goes on handling
// its events and never processes them inside the work. The work reports back with post(): each function given
// runs on the window's thread, in the order given. finished() follows once the work is over. Destroying the
// object asks the work to stop and waits for it.
class WorkerRun : public QObject
{
    Q_OBJECT

public:
    explicit WorkerRun(QObject* parent = nullptr);
    ~WorkerRun() override;
    WorkerRun(const WorkerRun&) = delete;
    WorkerRun& operator=(const WorkerRun&) = delete;

    // Starts `work` on its own thread. One work a run.
    void start(std::function<void()> work);
    bool isRunning() const noexcept { return m_running; }

    // Asks the work to stop at its next chance; the work asks stopRequested().
    void requestStop() noexcept { m_stop = true; }
    bool stopRequested() const noexcept { return m_stop; }

    // From the work: runs `onWindowThread` on this object's thread as soon as its events allow.
    void post(std::function<void()> onWindowThread);

signals:
    // On this object's thread, after every function the work posted.
    void finished();

private:
    QThread* m_thread = nullptr;
    std::atomic<bool> m_stop = false;
    bool m_running = false;
};

} // namespace ui
