#pragma once

#include <functional>

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace shell {

// The desktop's own folder dialog, opened on `start` in front of `parent`: the folder chosen, empty when
// the user cancels. Tests replace it to answer without a modal dialog; an empty function puts the
// desktop's dialog back.
using FolderDialogFunction = std::function<QString(QWidget* parent, const QString& start)>;
void setFolderDialogFunction(FolderDialogFunction function);

// The folder chooser "Order Entry Database": the user points the program at the folder that holds the
// shop's database. Continue (or Enter) puts the choice into the marker file, where the main window and the
// next start read it; Esc closes the chooser and changes nothing. Beside the drive and folder lists,
// Browse... opens the desktop's own folder dialog.
class frmPath : public QDialog
{
    Q_OBJECT

public:
    // The management system's usual folder, in the platform's form, written into a new marker file on a
    // first start. It is only the usual place, not a choice: the lists keep their defaults (the user's home
    // folder) and Text1 keeps "No Folder Selected" until the user picks a folder.
#ifdef Q_OS_WIN
    inline static const QString kDefaultFolderText = QStringLiteral("\\Orvelle\\Data\\");
#else
    inline static const QString kDefaultFolderText = QStringLiteral("/Orvelle/Data");
#endif
    inline static const QString kNoFolderSelected = QStringLiteral("No Folder Selected");

    explicit frmPath(QWidget* parent = nullptr);

    // Load: reads the marker file (writing the default text when there is none) and selects its folder.
    void load();

    // The folder list's folder; setting it lists its sub-folders.
    QString dirPath() const { return m_dirPath; }
    void setDirPath(const QString& path);
    // The drive list's volume root.
    QString drivePath() const;

signals:
    // The chooser has loaded; start-up shows the main window behind it now.
    void loaded();
    // Continue has written the chosen folder into the marker file.
    void folderChosen();

private:
    void drvBoxChange(int index);
    void dirBoxDoubleClick(QListWidgetItem* item);
    void cmdBrowseClick();
    void cmdPathClick();
    void cmdDemoClick();
    void fillDrives();
    int driveIndexFor(const QString& path) const;
    // Selects the drive that holds `path` and lists the folder in the folder list.
    void showFolder(const QString& path);

    QLabel* m_lblHead;
    QComboBox* m_drvBox;
    QListWidget* m_dirBox;
    QPushButton* m_cmdBrowse; // the desktop's folder dialog, for a folder the lists make hard to reach
    QLabel* m_label1;
    QLineEdit* m_text1;
    QLabel* m_label3;
    QLabel* m_label4;
    QPushButton* m_cmdPath;
    QPushButton* m_cmdDemo; // the demo shop in the user's documents, for a PC without the shop's data yet
    QString m_dirPath;
};

} // namespace shell
