#pragma once

#include <string>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include "tests/support/TestDatabase.h"
#include "ui/DataFolder.h"
#include "ui/MessageBox.h"

namespace windowtest {

// Collects the texts of the message boxes instead of stopping at them.
class MessageCapture
{
public:
    MessageCapture()
    {
        ui::setMessageFunction([this](const QString& text, const QString& details) {
            m_texts << text;
            m_details << details;
        });
    }
    ~MessageCapture() { ui::setMessageFunction({}); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const QStringList& texts() const { return m_texts; }
    const QStringList& details() const { return m_details; } // behind "Show Details...", one per message
    void clear()
    {
        m_texts.clear();
        m_details.clear();
    }

private:
    QStringList m_texts;
    QStringList m_details;
};

// A program folder of its own for one test, holding the marker file.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        ui::setProgramFolder(m_folder.path());
        ui::setDataFolder({});
    }
    const std::string& path() const { return m_folder.path(); }
    std::string markerFile() const { return m_folder.path() + "/vmOrvCk.dat"; }
    // The marker file as an earlier run wrote it: the folder text and CR LF.
    void mark(const std::string& dataFolder) const { testsupport::writeFile(markerFile(), dataFolder + "\r\n"); }

private:
    testsupport::TemporaryFolder m_folder;
};

// A control of a window by its name; fails the test when there is none.
template <class Control>
Control* control(const QObject* window, const char* name)
{
    auto* found = window->findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

// Moving the focus into and out of a field, as the Tab key does.
inline void enterField(QWidget* field)
{
    QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &event);
}

inline void leaveField(QWidget* field)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &event);
}

// Types a new text into a field between entering and leaving it.
inline void typeInto(QLineEdit* field, const QString& text)
{
    enterField(field);
    field->setText(text);
    leaveField(field);
}

// Waits while the window's run prices on its own thread; the test's own event loop meanwhile hands the window
// what the run reports, as the program's does. Whether the run ended within the time.
template <class Window>
bool waitForRun(const Window& window, int seconds = 300)
{
    return QTest::qWaitFor([&window] { return !window.isRunning(); }, seconds * 1000);
}

// A picture of a window for a look at its layout, under a real X server with a window manager: as it draws
// itself (NAME.png), as the screen shows it with its title bar (NAME-framed.png) and the whole screen
// (NAME-screen.png), in `folder`.
inline void saveScreenshot(QWidget& window, const QString& folder, const char* name)
{
    window.show();
    window.raise();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << name;
    QTest::qWait(300); // the window manager puts its frame around the window
    const QString base = folder + QLatin1Char('/') + QString::fromLatin1(name);
    EXPECT_TRUE(window.grab().save(base + ".png")) << name;
    const QPixmap screen = window.screen()->grabWindow(0);
    EXPECT_TRUE(screen.save(base + "-screen.png")) << name;
    const QRect frame = window.frameGeometry().adjusted(-4, -4, 4, 4);
    const qreal ratio = screen.devicePixelRatio();
    const QRect pixels(frame.topLeft() * ratio, frame.size() * ratio);
    EXPECT_TRUE(screen.copy(pixels).save(base + "-framed.png")) << name;
}

inline bool fileExists(const std::string& path)
{
    return QFileInfo::exists(QString::fromStdString(path));
}

} // namespace windowtest
