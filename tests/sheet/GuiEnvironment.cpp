#include <gtest/gtest.h>

#include <QGuiApplication>

namespace {

// One headless GUI application for the painter's fonts, as the sheet command makes one.
class GuiEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = new QGuiApplication(m_argc, m_argv);
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    int m_argc = 1;
    char m_name[16] = "sheettest";
    char* m_argv[2] = {m_name, nullptr};
    QGuiApplication* m_app = nullptr;
};

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace
