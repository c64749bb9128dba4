#pragma once

#include <string>

#include <QDialog>
#include <QPointer>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ui {

inline const QString kCategoryNameMissing = QStringLiteral("Type the name of the new category, then click Save.");
inline const QString kCategoryInList = QStringLiteral("The category \"%1\" is already in the list.");

// The category editor "Create or Delete Categories": adds categories to "Categories.dat" of the data folder
// and deletes the selected ones, keeping the main window's category list in step. A window of its own
// beside the main window; Enter saves the typed name, Esc closes it.
class frmCategories : public QDialog
{
    Q_OBJECT

public:
    // Works in `dataFolder`; `mainList` is the main window's cboCategories (it may go away first).
    frmCategories(std::string dataFolder, QComboBox* mainList, QWidget* parent = nullptr);

    // Load: the categories of the file, in file order.
    void load();
    // Works in another data folder from now on, and loads its categories.
    void setDataFolder(std::string dataFolder);
    // Save: adds the text of txtCat, without surrounding blanks, as a new category; a blank name and one
    // already in the list (in any letter case) are refused with a message.
    void cmdSaveClick();
    // Delete: removes the selected categories.
    void command1Click();

private:
    void addToMainList(const QString& category);
    void refillMainList(const QStringList& categories);

    std::string m_dataFolder;
    QPointer<QComboBox> m_mainList;
    QGroupBox* m_FraCat;
    QListWidget* m_lstCategories;
    QLabel* m_Label1;
    QLineEdit* m_txtCat;
    QPushButton* m_cmdSave;
    QPushButton* m_Command1;
    QPushButton* m_Command2;
    QListWidget* m_lstCat;
};

} // namespace ui
