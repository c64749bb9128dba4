// The category editor: load, Save and Delete, with the main window's category list following.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "tests/support/TestDatabase.h"
#include "tests/ui/WindowTestSupport.h"
#include "ui/frmCategories.h"
#include "ui/frmPrice.h"

namespace {

using windowtest::control;

QStringList itemsOf(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

class CategoryEditor : public testing::Test
{
protected:
    void SetUp() override
    {
        program.mark(data.path());
        ui::setDataFolder(data.path());
    }
    std::string categoryFile() const { return data.path() + "/Categories.dat"; }
    void writeCategories(const std::string& content) const { testsupport::writeFile(categoryFile(), content); }

    // The main window and its editor, opened as File, Categories opens it.
    ui::frmCategories& open()
    {
        main = std::make_unique<ui::frmPrice>();
        editor = main->showCategories();
        return *editor;
    }
    QComboBox* mainList() const { return control<QComboBox>(main.get(), "cboCategories"); }
    QListWidget* list() const { return control<QListWidget>(editor, "lstCategories"); }

    windowtest::MessageCapture messages;
    windowtest::ProgramFolder program;
    testsupport::TemporaryFolder data;
    std::unique_ptr<ui::frmPrice> main;
    ui::frmCategories* editor = nullptr;
};

TEST_F(CategoryEditor, LoadsTheFileItemByItem)
{
    // A name written with a comma reads back as two categories; surrounding blanks are lost.
    writeCategories("Letterheads\r\nForms, Carbonless\r\n  Cards  \r\n");
    open();
    const QStringList expected{QStringLiteral("Letterheads"), QStringLiteral("Forms"), QStringLiteral("Carbonless"),
                               QStringLiteral("Cards")};
    EXPECT_EQ(itemsOf(list()), expected);
    EXPECT_EQ(itemsOf(mainList()), expected);
}

TEST_F(CategoryEditor, SaveAppendsToTheFileAndBothLists)
{
    writeCategories("Letterheads\r\n");
    ui::frmCategories& w = open();
    auto* text = control<QLineEdit>(&w, "txtCat");
    text->setText(QStringLiteral("Envelopes"));
    control<QPushButton>(&w, "cmdSave")->click();
    EXPECT_EQ(testsupport::readFile(categoryFile()), "Letterheads\r\nEnvelopes\r\n");
    const QStringList expected{QStringLiteral("Letterheads"), QStringLiteral("Envelopes")};
    EXPECT_EQ(itemsOf(list()), expected);
    EXPECT_EQ(itemsOf(mainList()), expected);
    EXPECT_EQ(text->text(), QString());
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(CategoryEditor, TheMainWindowsCategoryIsOnlyEverTheOneTheUserChose)
{
    // Loading offers the categories without choosing one for the sheet.
    writeCategories("Letterheads\r\nForms\r\n");
    ui::frmCategories& w = open();
    EXPECT_EQ(mainList()->currentText(), QString());
    auto* text = control<QLineEdit>(&w, "txtCat");
    text->setText(QStringLiteral("Envelopes"));
    control<QPushButton>(&w, "cmdSave")->click();
    EXPECT_EQ(mainList()->currentText(), QString());
    // A chosen category stays chosen when another is added, and Delete, which refills the list, leaves none.
    mainList()->setCurrentIndex(1);
    text->setText(QStringLiteral("Cards"));
    control<QPushButton>(&w, "cmdSave")->click();
    EXPECT_EQ(mainList()->currentText(), QStringLiteral("Forms"));
    control<QPushButton>(&w, "Command1")->click();
    EXPECT_EQ(mainList()->count(), 4);
    EXPECT_EQ(mainList()->currentText(), QString());
}

TEST_F(CategoryEditor, SaveWithoutATextSavesNothingAndSaysSo)
{
    ui::frmCategories& w = open();
    control<QPushButton>(&w, "cmdSave")->click();
    EXPECT_FALSE(windowtest::fileExists(categoryFile()));
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(messages.texts(), QStringList{ui::kCategoryNameMissing});
}

struct NameCase
{
    const char* why;
    const char* typed;
    const char* refusedAs; // the category it is taken for, or empty for a blank name; nullptr when saved
};

const NameCase kNames[] = {
    {"blanks only", "   ", ""},
    {"the same name in other letters", "forms", "Forms"},
    {"the same name between blanks", "  LETTERHEADS ", "Letterheads"},
    {"a new name, without its blanks", "  Cards ", nullptr},
};

class CategoryName : public CategoryEditor, public testing::WithParamInterface<NameCase>
{
};

TEST_P(CategoryName, IsSavedWithEnterOnlyWhenNewAndNotBlank)
{
    const NameCase& c = GetParam();
    writeCategories("Letterheads\r\nForms\r\n");
    ui::frmCategories& w = open();
    auto* text = control<QLineEdit>(&w, "txtCat");
    QTest::keyClicks(text, QString::fromLatin1(c.typed));
    QTest::keyClick(text, Qt::Key_Return);
    const QStringList before{QStringLiteral("Letterheads"), QStringLiteral("Forms")};
    if (!c.refusedAs) {
        EXPECT_TRUE(messages.texts().isEmpty()) << c.why;
        EXPECT_EQ(itemsOf(list()), before + QStringList{QStringLiteral("Cards")}) << c.why;
        EXPECT_EQ(testsupport::readFile(categoryFile()), "Letterheads\r\nForms\r\nCards\r\n") << c.why;
        return;
    }
    const QString message = *c.refusedAs ? ui::kCategoryInList.arg(QString::fromLatin1(c.refusedAs))
                                          : ui::kCategoryNameMissing;
    EXPECT_EQ(messages.texts(), QStringList{message}) << c.why;
    EXPECT_EQ(itemsOf(list()), before) << c.why;
    EXPECT_EQ(itemsOf(mainList()), before) << c.why;
    EXPECT_EQ(testsupport::readFile(categoryFile()), "Letterheads\r\nForms\r\n") << c.why;
    EXPECT_EQ(text->text(), QString::fromLatin1(c.typed)) << "kept to be mended: " << c.why;
}

INSTANTIATE_TEST_SUITE_P(CategoryEditor, CategoryName, testing::ValuesIn(kNames));

TEST_F(CategoryEditor, SaveCreatesAMissingFile)
{
    ui::frmCategories& w = open();
    control<QLineEdit>(&w, "txtCat")->setText(QStringLiteral("Forms"));
    control<QPushButton>(&w, "cmdSave")->click();
    EXPECT_EQ(testsupport::readFile(categoryFile()), "Forms\r\n");
}

TEST_F(CategoryEditor, AFailedSaveSaysSoAndKeepsTheText)
{
    ui::setDataFolder(data.path() + "/no such folder");
    ui::frmCategories& w = open();
    auto* text = control<QLineEdit>(&w, "txtCat");
    text->setText(QStringLiteral("Forms"));
    control<QPushButton>(&w, "cmdSave")->click();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().front().contains(QStringLiteral("\"Forms\" could not be saved")));
    EXPECT_EQ(text->text(), QStringLiteral("Forms"));
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(mainList()->count(), 0);
}

TEST_F(CategoryEditor, DeleteRemovesTheSelectedOnes)
{
    writeCategories("Letterheads\r\nForms\r\nCards\r\nEnvelopes\r\n");
    ui::frmCategories& w = open();
    list()->item(1)->setSelected(true);
    list()->item(3)->setSelected(true);
    control<QPushButton>(&w, "Command1")->click();
    EXPECT_EQ(testsupport::readFile(categoryFile()), "Letterheads\r\nCards\r\n");
    const QStringList expected{QStringLiteral("Letterheads"), QStringLiteral("Cards")};
    EXPECT_EQ(itemsOf(list()), expected);
    EXPECT_EQ(itemsOf(mainList()), expected);
    EXPECT_EQ(itemsOf(control<QListWidget>(&w, "lstCat")), expected);
}

TEST_F(CategoryEditor, DeleteWithNothingSelectedRewritesTheFileUnchanged)
{
    writeCategories("Letterheads\nForms\n"); // an LF-only file comes back with CR LF
    ui::frmCategories& w = open();
    control<QPushButton>(&w, "Command1")->click();
    EXPECT_EQ(testsupport::readFile(categoryFile()), "Letterheads\r\nForms\r\n");
    EXPECT_EQ(itemsOf(mainList()), (QStringList{QStringLiteral("Letterheads"), QStringLiteral("Forms")}));
}

TEST_F(CategoryEditor, ExitClosesTheEditorAndTheMenuOpensItAgain)
{
    writeCategories("Letterheads\r\n");
    ui::frmCategories& w = open();
    w.show();
    control<QPushButton>(&w, "Command2")->click();
    EXPECT_FALSE(w.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ui::frmCategories* again = main->showCategories();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(itemsOf(control<QListWidget>(again, "lstCategories")), QStringList{QStringLiteral("Letterheads")});
}

TEST_F(CategoryEditor, WorksInTheMainWindowsFolderWhenStartUpHadToAsk)
{
    // Start-up asked the user for the folder, so it settled on none; the main window's folder holds the file.
    ui::setDataFolder({});
    writeCategories("Letterheads\r\n");
    open();
    EXPECT_EQ(itemsOf(list()), QStringList{QStringLiteral("Letterheads")});
}

} // namespace
