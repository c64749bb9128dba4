#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace shell {

// The folder chooser "Order Entry Database": the user points the program at the folder that holds the
// shop's database. Continue (or Enter) puts the choice into the marker file, where the main window and the
// next start read it; Esc closes the chooser and changes nothing.
class frmPath : public QDialog
{
    Q_OBJECT

public:
    // The management system's usual folder, written into a new marker file on a first start. The text is
    // the same on every platform: it names no drive (and on POSIX it is no absolute path), so the drive and
    // folder lists keep their defaults and the user picks the folder.
    inline static const QString kDefaultFolderText = QStringLiteral("\\Orvelle\\Data\\");
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
    void cmdPathClick();
    void cmdDemoClick();
    void fillDrives();
    int driveIndexFor(const QString& path) const;

    QLabel* m_lblHead;
    QComboBox* m_drvBox;
    QListWidget* m_dirBox;
    QLabel* m_label1;
    QLineEdit* m_text1;
    QLabel* m_label3;
    QLabel* m_label4;
    QPushButton* m_cmdPath;
    QPushButton* m_cmdDemo; // the demo shop in the user's documents, for a PC without the shop's data yet
    QString m_dirPath;
};

} // namespace shell
