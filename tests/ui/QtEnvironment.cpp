#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// Every test starts with nothing remembered: no window places, printer or category of an earlier test.
class ForgetProgramSettings : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo&) override { QSettings().clear(); }
};

// One QApplication for all window tests, named as the program names itself, with the program's settings in
// a temporary folder of the run's own. The offscreen platform unless the run chose one (a screenshot under
// Xvfb sets QT_QPA_PLATFORM=xcb).
class QtEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QLocale::setDefault(QLocale::c());
        m_app = new QApplication(m_argc, m_argv);
        QApplication::setQuitOnLastWindowClosed(false);
        QApplication::setOrganizationName(QStringLiteral("Velmora"));
        QApplication::setApplicationName(QStringLiteral("PriceCatalogs"));
        m_settings = new QTemporaryDir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings->path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings->path());
        testing::UnitTest::GetInstance()->listeners().Append(new ForgetProgramSettings);
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
        delete m_settings;
        m_settings = nullptr;
    }

private:
    int m_argc = 1;
    char m_name[16] = "windowtest";
    char* m_argv[2] = {m_name, nullptr};
    QApplication* m_app = nullptr;
    QTemporaryDir* m_settings = nullptr;
};

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
