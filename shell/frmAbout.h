#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace shell {

// "Version " and the program's version number, each part as a decimal number.
QString versionText(int major, int minor, int revision);

inline const QString kSysInfoUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

// The about box: the program's title, version and purpose, and a way to the platform's system-information
// tool for the shop's support calls. Enter and Esc close it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Starts the platform's system-information tool, or says that there is none.
    void StartSysInfo();

private:
    QLabel* m_picIcon;
    QLabel* m_lblTitle;
    QLabel* m_label2;
    QLabel* m_lblVersion;
    QLabel* m_lblDescription;
    QLabel* m_label1;
    QLabel* m_lblDisclaimer;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdSysInfo;
};

} // namespace shell
