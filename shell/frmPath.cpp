#include "shell/frmPath.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "cli/DemoDataCommand.h"
#include "platform/Fault.h"
#include "platform/Statement.h"
#include "platform/TextFile.h"
#include "ui/DataFolder.h"
#include "ui/MessageBox.h"
#include "ui/WindowPlace.h"

namespace shell {

namespace {

FolderDialogFunction& folderDialogFunction()
{
    static FolderDialogFunction function;
    return function;
}

// Whether a folder text names a drive and folder the lists can show. On Windows that is a text with a
// drive letter and colon, as the shop's management system stores it; on POSIX, where there are no drive
// letters, an absolute path.
bool namesDriveAndFolder(const QString& path)
{
#ifdef Q_OS_WIN
    return path.contains(QLatin1Char(':'));
#else
    return QDir::isAbsolutePath(path);
#endif
}

// The first item of the marker file; none when the file is missing, unreadable or holds no item at all
// (an empty file has nothing to read, as a missing one). Why a file that is there could not be read goes to
// `unreadable`.
std::optional<QString> markedFolder(std::optional<platform::Fault>* unreadable = nullptr)
{
    try {
        const std::vector<std::string> items = platform::readItems(ui::markerFilePath());
        if (!items.empty())
            return QString::fromStdString(items.front());
    } catch (const platform::Fault& fault) {
        if (unreadable && fault.number() != platform::fault::FileNotFound)
            *unreadable = fault;
    }
    return std::nullopt;
}

} // namespace

void setFolderDialogFunction(FolderDialogFunction function)
{
    folderDialogFunction() = std::move(function);
}

frmPath::frmPath(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPath"));
    setWindowTitle(QStringLiteral("Order Entry Database"));
    ui::keepWindowPlace(this);

    m_lblHead = new QLabel(QStringLiteral("Click on Drive. Then Double Click on Folder Where Orvelle Resides"));
    m_lblHead->setObjectName(QStringLiteral("lblHead"));
    m_lblHead->setWordWrap(true);
    m_lblHead->setAlignment(Qt::AlignCenter);

    m_drvBox = new QComboBox;
    m_drvBox->setObjectName(QStringLiteral("drvBox"));

    m_dirBox = new QListWidget;
    m_dirBox->setObjectName(QStringLiteral("dirBox"));
    m_cmdBrowse = new QPushButton(QStringLiteral("&Browse..."));
    m_cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    m_cmdBrowse->setToolTip(QStringLiteral("Choose the folder in the desktop's folder window"));

    m_label1 = new QLabel;
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_text1 = new QLineEdit(kNoFolderSelected);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_label3 = new QLabel;
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label4 = new QLabel(QStringLiteral("If the locations above are correct, click the Continue button below."));
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_label4->setWordWrap(true);
    m_cmdPath = new QPushButton(QStringLiteral("Continue"));
    m_cmdPath->setObjectName(QStringLiteral("cmdPath"));
    m_cmdPath->setDefault(true);
    m_cmdDemo = new QPushButton(QStringLiteral("Use the &Demo Shop"));
    m_cmdDemo->setObjectName(QStringLiteral("cmdDemo"));
    m_cmdDemo->setToolTip(QStringLiteral("Make a demo shop in your documents folder and price from it"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(4);
    // The folder heading over the drive and folder lists, the data heading over the chosen path.
    layout->addWidget(m_lblHead);
    layout->addSpacing(4);
    layout->addWidget(m_label3);
    auto* drive = new QHBoxLayout;
    drive->addWidget(m_drvBox, 1);
    drive->addWidget(m_cmdBrowse);
    layout->addLayout(drive);
    layout->addWidget(m_dirBox, 1);
    layout->addSpacing(4);
    layout->addWidget(m_label1);
    layout->addWidget(m_text1);
    layout->addWidget(m_label4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdPath);
    buttons->addWidget(m_cmdDemo);
    buttons->addStretch();
    layout->addLayout(buttons);

    // The lists start in the user's home folder, as a file window of the desktop does.
    fillDrives();
    showFolder(QDir::homePath());

    connect(m_drvBox, &QComboBox::currentIndexChanged, this, &frmPath::drvBoxChange);
    connect(m_dirBox, &QListWidget::itemDoubleClicked, this, &frmPath::dirBoxDoubleClick);
    connect(m_cmdBrowse, &QPushButton::clicked, this, &frmPath::cmdBrowseClick);
    connect(m_cmdPath, &QPushButton::clicked, this, &frmPath::cmdPathClick);
    connect(m_cmdDemo, &QPushButton::clicked, this, &frmPath::cmdDemoClick);
    // It may grow, the folder list with it, but not below the size its wrapped texts need.
    adjustSize();
    setMinimumSize(size());
}

void frmPath::fillDrives()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    if (!roots.contains(QDir::rootPath()))
        roots.prepend(QDir::rootPath());
    roots.sort();
    m_drvBox->addItems(roots);
}

QString frmPath::drivePath() const
{
    return m_drvBox->currentText();
}

int frmPath::driveIndexFor(const QString& path) const
{
    // The volume that holds the path: the longest root that begins it.
    const QString clean = QDir::cleanPath(path);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < m_drvBox->count(); ++i) {
        const QString root = QDir::cleanPath(m_drvBox->itemText(i));
        const bool holds = clean.compare(root, Qt::CaseInsensitive) == 0
                           || clean.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'),
                                               Qt::CaseInsensitive);
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

void frmPath::showFolder(const QString& path)
{
    const int drive = driveIndexFor(path);
    if (drive >= 0) {
        const QSignalBlocker blocker(m_drvBox);
        m_drvBox->setCurrentIndex(drive);
    }
    setDirPath(path);
}

void frmPath::setDirPath(const QString& path)
{
    // A folder that is gone (a stale marker file) is shown from its nearest existing parent, where the user
    // can pick again, instead of failing the window.
    QDir dir(path);
    while (!dir.exists() && !dir.isRoot() && dir.cdUp()) {
    }
    m_dirPath = dir.exists() ? QDir::toNativeSeparators(dir.absolutePath()) : path;

    m_dirBox->clear();
    if (!dir.exists())
        return;
    if (!dir.isRoot())
        m_dirBox->addItem(QStringLiteral(".."));
    const QStringList folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    m_dirBox->addItems(folders);
}

void frmPath::load()
{
    std::optional<platform::Fault> unreadable;
    std::optional<QString> marked = markedFolder(&unreadable);
    if (unreadable) {
        // Left as it is rather than written over: Continue puts the folder the user chooses in its place.
        ui::showDetailedMessage(QString::fromStdString(unreadable->what()) +
                                    QStringLiteral(" Or choose the folder of the shop's data and click Continue."),
                                QString::fromStdString(unreadable->detail()));
    } else if (!marked) {
        // A first start: the marker file gets the management system's usual folder text, read back once.
        platform::resumeNext([] { ui::writeMarkerFile(kDefaultFolderText.toStdString()); });
        marked = markedFolder();
    }
    const QString path = marked.value_or(QString());
    m_label1->setText(QStringLiteral("Location of Orvelle Data"));
    m_label3->setText(QStringLiteral("Location of Orvelle Data Folder."));
    if (!path.isEmpty() && path != kDefaultFolderText && namesDriveAndFolder(path)) {
        showFolder(path);
        m_text1->setText(path);
    }
    emit loaded();
}

void frmPath::drvBoxChange(int)
{
    setDirPath(drivePath());
}

void frmPath::dirBoxDoubleClick(QListWidgetItem* item)
{
    if (!item)
        return;
    QDir dir(m_dirPath);
    if (item->text() == QLatin1String(".."))
        dir.cdUp();
    else
        dir.cd(item->text());
    setDirPath(dir.absolutePath());
    m_text1->setText(m_dirPath);
}

void frmPath::cmdBrowseClick()
{
    const FolderDialogFunction& replaced = folderDialogFunction();
    const QString chosen =
        replaced ? replaced(this, m_dirPath)
                 : QFileDialog::getExistingDirectory(this, QStringLiteral("Location of Orvelle Data Folder"), m_dirPath);
    if (chosen.isEmpty())
        return;
    // As a double-click on the folder in the lists: they show it, and Text1 takes its path.
    showFolder(chosen);
    m_text1->setText(m_dirPath);
}

void frmPath::cmdPathClick()
{
    try {
        ui::writeMarkerFile(m_text1->text().toStdString());
    } catch (const platform::Fault& fault) {
        // The choice would be lost without a word: say so and keep the chooser open to try again.
        ui::showMessage(QStringLiteral("The location could not be saved: %1").arg(QString::fromStdString(fault.what())));
        return;
    }
    emit folderChosen();
    close();
}

void frmPath::cmdDemoClick()
{
    // A counter PC without the shop's database yet: the demo shop in the user's documents, made once and
    // used again on a later choice.
    const QString folder = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                               .filePath(QStringLiteral("Counter Price Book Demo"));
    try {
        if (!QFileInfo::exists(QDir(folder).filePath(QStringLiteral("vmdata.mdb"))))
            cli::buildDemoShop(folder.toStdString(), false);
    } catch (const platform::Fault& fault) {
        ui::showDetailedMessage(QStringLiteral("The demo shop could not be made in %1. Choose the shop's data "
                                               "folder instead.")
                                    .arg(folder),
                                QString::fromStdString(fault.what()));
        return;
    }
    m_text1->setText(folder);
    cmdPathClick();
}

} // namespace shell
