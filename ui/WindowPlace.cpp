#include "ui/WindowPlace.h"

#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace ui {

namespace {

QString settingsKey(const QWidget* window)
{
    return QStringLiteral("Windows/%1").arg(window->objectName());
}

// Whether the window lies whole on the usable part of one screen.
bool onAScreen(const QRect& rect)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&rect](const QScreen* screen) { return screen->availableGeometry().contains(rect); });
}

bool restorePlace(QWidget* window)
{
    const QByteArray saved = QSettings().value(settingsKey(window)).toByteArray();
    if (saved.isEmpty())
        return false;
    const QRect before = window->geometry();
    if (window->restoreGeometry(saved) && (window->isMaximized() || onAScreen(window->geometry())))
        return true;
    window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
    window->setGeometry(before);
    return false;
}

class PlaceKeeper : public QObject
{
public:
    explicit PlaceKeeper(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && !event->spontaneous()) {
            if (event->type() == QEvent::Show && !m_placed) {
                m_placed = true;
                if (!restorePlace(m_window))
                    centreWindow(m_window);
            } else if (event->type() == QEvent::Hide) {
                QSettings().setValue(settingsKey(m_window), m_window->saveGeometry());
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
    bool m_placed = false;
};

} // namespace

void keepWindowPlace(QWidget* window)
{
    window->installEventFilter(new PlaceKeeper(window));
}

void centreWindow(QWidget* window)
{
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect placed(QPoint(), window->frameGeometry().size());
    placed.moveCenter(owner ? owner->frameGeometry().center() : area.center());
    // Never past the screen's edges: the title bar stays where it can be grabbed.
    placed.moveLeft(std::max(area.left(), std::min(placed.left(), area.right() - placed.width() + 1)));
    placed.moveTop(std::max(area.top(), std::min(placed.top(), area.bottom() - placed.height() + 1)));
    window->move(placed.topLeft());
}

} // namespace ui
