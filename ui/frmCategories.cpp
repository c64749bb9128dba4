#include "ui/frmCategories.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "pricing/Categories.h"
#include "ui/MessageBox.h"
#include "ui/WindowPlace.h"

namespace ui {

namespace {

QStringList itemsOf(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// What could not be saved, then why, with the system's own words behind the details button.
void showFailure(const QString& text, const std::optional<platform::Fault>& fault)
{
    if (!fault) {
        showMessage(text);
        return;
    }
    showDetailedMessage(text + QLatin1Char('\n') + QString::fromStdString(fault->what()),
                        QString::fromStdString(fault->detail()));
}

} // namespace

frmCategories::frmCategories(std::string dataFolder, QComboBox* mainList, QWidget* parent)
    : QDialog(parent), m_dataFolder(std::move(dataFolder)), m_mainList(mainList)
{
    setObjectName(QStringLiteral("frmCategories"));
    setWindowTitle(QStringLiteral("Create or Delete Categories"));
    keepWindowPlace(this);

    m_FraCat = new QGroupBox(QStringLiteral("Categories"));
    m_FraCat->setObjectName(QStringLiteral("FraCat"));
    m_lstCategories = new QListWidget;
    m_lstCategories->setObjectName(QStringLiteral("lstCategories"));
    m_lstCategories->setSelectionMode(QAbstractItemView::MultiSelection);
    auto* frame = new QVBoxLayout(m_FraCat);
    frame->setContentsMargins(6, 2, 6, 6);
    frame->addWidget(m_lstCategories);

    m_Label1 = new QLabel(QStringLiteral("Enter New Category Below and Click Save to Add to List"));
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setWordWrap(true);
    m_txtCat = new QLineEdit;
    m_txtCat->setObjectName(QStringLiteral("txtCat"));
    m_cmdSave = new QPushButton(QStringLiteral("Save"));
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdSave->setDefault(true);
    m_Command1 = new QPushButton(QStringLiteral("Delete"));
    m_Command1->setObjectName(QStringLiteral("Command1"));
    m_Command2 = new QPushButton(QStringLiteral("Exit"));
    m_Command2->setObjectName(QStringLiteral("Command2"));
    m_lstCat = new QListWidget(this);
    m_lstCat->setObjectName(QStringLiteral("lstCat"));
    m_lstCat->hide();

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(m_Label1);
    right->addWidget(m_txtCat);
    right->addWidget(m_cmdSave);
    right->addStretch(1);
    right->addWidget(m_Command1);
    right->addWidget(m_Command2);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_FraCat, 1);
    layout->addLayout(right, 1);

    connect(m_cmdSave, &QPushButton::clicked, this, &frmCategories::cmdSaveClick);
    connect(m_Command1, &QPushButton::clicked, this, &frmCategories::command1Click);
    connect(m_Command2, &QPushButton::clicked, this, &QWidget::close);
    // It may grow, the list with it, but not below the size its wrapped text needs.
    adjustSize();
    setMinimumSize(size());

    load();
}

void frmCategories::load()
{
    m_lstCategories->clear();
    for (const std::string& category : pricing::readCategories(m_dataFolder))
        m_lstCategories->addItem(QString::fromStdString(category));
}

void frmCategories::setDataFolder(std::string dataFolder)
{
    m_dataFolder = std::move(dataFolder);
    load();
}

void frmCategories::cmdSaveClick()
{
    const QString name = m_txtCat->text().trimmed();
    if (name.isEmpty()) {
        showMessage(kCategoryNameMissing);
        m_txtCat->setFocus();
        return;
    }
    const QStringList categories = itemsOf(m_lstCategories);
    const auto same = [&name](const QString& category) {
        return category.trimmed().compare(name, Qt::CaseInsensitive) == 0;
    };
    if (const auto found = std::find_if(categories.begin(), categories.end(), same); found != categories.end()) {
        showMessage(kCategoryInList.arg(*found));
        m_txtCat->setFocus();
        return;
    }
    // A category that did not reach the file would be gone at the next start: say so and keep the text.
    std::optional<platform::Fault> fault;
    if (!pricing::appendCategory(m_dataFolder, name.toStdString(), &fault)) {
        showFailure(QStringLiteral("The category \"%1\" could not be saved in %2.")
                        .arg(name, QString::fromStdString(pricing::categoriesPath(m_dataFolder))),
                    fault);
        return;
    }
    m_lstCategories->addItem(name);
    addToMainList(name);
    m_txtCat->clear();
}

void frmCategories::command1Click()
{
    std::vector<std::string> categories;
    std::vector<bool> selected;
    for (int i = 0; i < m_lstCategories->count(); ++i) {
        categories.push_back(m_lstCategories->item(i)->text().toStdString());
        selected.push_back(m_lstCategories->item(i)->isSelected());
    }
    m_lstCat->clear();
    for (const std::string& category : pricing::remainingCategories(categories, selected))
        m_lstCat->addItem(QString::fromStdString(category));

    std::vector<std::string> remaining;
    for (const QString& category : itemsOf(m_lstCat))
        remaining.push_back(category.toStdString());
    // The lists follow the file: when the file keeps its categories, so do the lists.
    std::optional<platform::Fault> fault;
    if (!pricing::rewriteCategories(m_dataFolder, remaining, &fault)) {
        showFailure(QStringLiteral("The categories could not be saved in %1; nothing was deleted.")
                        .arg(QString::fromStdString(pricing::categoriesPath(m_dataFolder))),
                    fault);
        return;
    }
    const QStringList kept = itemsOf(m_lstCat);
    m_lstCategories->clear();
    m_lstCategories->addItems(kept);
    refillMainList(kept);
}

void frmCategories::addToMainList(const QString& category)
{
    if (!m_mainList)
        return;
    // The category the main window shows stays as the user left it; a first entry would otherwise become
    // the sheet's category by itself.
    const int index = m_mainList->currentIndex();
    const QString text = m_mainList->currentText();
    m_mainList->addItem(category);
    if (index < 0) {
        m_mainList->setCurrentIndex(-1);
        if (m_mainList->isEditable())
            m_mainList->setEditText(text);
    }
}

void frmCategories::refillMainList(const QStringList& categories)
{
    if (!m_mainList)
        return;
    // As after clearing the list, no category is chosen until the user picks one again.
    m_mainList->clear();
    m_mainList->addItems(categories);
    m_mainList->setCurrentIndex(-1);
}

} // namespace ui
