#pragma once

#include <string>

#include <QPointer>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ui {

// The category editor "Create or Delete Categories": adds categories to "Categories.dat" of the data folder
// and deletes the selected ones, keeping the main window's category list in step.
class frmCategories : public QWidget
{
    Q_OBJECT

public:
    // Works in `dataFolder`; `mainList` is the main window's cboCategories (it may go away first).
    frmCategories(std::string dataFolder, QComboBox* mainList, QWidget* parent = nullptr);

    // Load: the categories of the file, in file order.
    void load();
    // Save: adds the text of txtCat as a new category.
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
