#include "shell/frmAbout.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStyle>

#include "ui/MessageBox.h"
#include "ui/WindowPlace.h"

namespace shell {

namespace {

#ifdef Q_OS_WIN
// A text value under the machine's registry root, as the system-information tool registers itself.
bool machineKeyValue(const QString& keyPath, const QString& valueName, QString& value)
{
    value.clear();
    const QSettings key(QStringLiteral("HKEY_LOCAL_MACHINE\\") + keyPath, QSettings::NativeFormat);
    if (!key.contains(valueName))
        return false;
    value = key.value(valueName).toString();
    return true;
}
#endif

// The system-information tool's full path; empty when this machine has none.
QString systemInfoTool()
{
#ifdef Q_OS_WIN
    QString path;
    if (machineKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"), path))
        return path;
    if (machineKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"),
                        path)) {
        const QString tool = path + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo::exists(tool))
            return tool;
    }
#endif
    // Other platforms have no such tool.
    return {};
}

} // namespace

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + ui::kProgramTitle);
    ui::keepWindowPlace(this);

    m_picIcon = new QLabel;
    m_picIcon->setObjectName(QStringLiteral("picIcon"));
    m_picIcon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(40, 40));
    m_picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_lblTitle = new QLabel(ui::kProgramTitle);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = m_lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    m_lblTitle->setFont(titleFont);
    m_label2 = new QLabel(QStringLiteral("Counter Price Book generator"));
    m_label2->setObjectName(QStringLiteral("Label2"));

    m_lblVersion = new QLabel(versionText(PRICEBOOK_VERSION_MAJOR, PRICEBOOK_VERSION_MINOR, PRICEBOOK_VERSION_PATCH));
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));

    m_lblDescription = new QLabel(QStringLiteral(
        "Price Catalogs creates price catalogs from quotes or jobs bid earlier. Every price is calculated with "
        "the same calculations as the estimates of the Orvelle order entry and estimating system, and the "
        "catalogs may be bound for easy reference."));
    m_lblDescription->setObjectName(QStringLiteral("lblDescription"));
    m_lblDescription->setWordWrap(true);

    m_label1 = new QLabel(QStringLiteral("Warning:"));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_lblDisclaimer = new QLabel(QStringLiteral(
        "Prices are estimates from the shop's own rates; check them before quoting them to a customer."));
    m_lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    m_lblDisclaimer->setWordWrap(true);

    m_cmdOK = new QPushButton(QStringLiteral("OK"));
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."));
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_picIcon, 0, 0, 3, 1);
    grid->addWidget(m_lblTitle, 0, 1);
    grid->addWidget(m_label2, 1, 1);
    grid->addWidget(m_lblVersion, 2, 1);
    grid->addWidget(m_lblDescription, 3, 1);
    grid->setRowStretch(4, 1);
    auto* bottom = new QHBoxLayout;
    auto* notice = new QVBoxLayout;
    notice->addWidget(m_label1);
    notice->addWidget(m_lblDisclaimer);
    bottom->addLayout(notice, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdSysInfo);
    bottom->addLayout(buttons);
    grid->addLayout(bottom, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(m_cmdOK, &QPushButton::clicked, this, &QWidget::close);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    // As large as the wrapped texts need in the user's font, and no smaller.
    adjustSize();
    setFixedSize(size());
}

void frmAbout::StartSysInfo()
{
    const QString tool = systemInfoTool();
    if (tool.isEmpty() || !QProcess::startDetached(tool, {})) {
        ui::showMessage(kSysInfoUnavailable);
        return;
    }
}

} // namespace shell
