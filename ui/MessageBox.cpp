#include "ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {

namespace {

MessageFunction& messageFunction()
{
    static MessageFunction function;
    return function;
}

} // namespace

void showMessage(const QString& text)
{
    showMessage(text, kProgramTitle);
}

namespace {

void show(const QString& text, const QString& title, const QString& details)
{
    if (messageFunction()) {
        messageFunction()(text, details);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

} // namespace

void showMessage(const QString& text, const QString& title)
{
    show(text, title, {});
}

void showDetailedMessage(const QString& text, const QString& details)
{
    show(text, kProgramTitle, details);
}

void setMessageFunction(MessageFunction function)
{
    messageFunction() = std::move(function);
}

namespace {

QuestionFunction& questionFunction()
{
    static QuestionFunction function;
    return function;
}

} // namespace

bool askYesNo(const QString& text)
{
    if (questionFunction())
        return questionFunction()(text);
    QMessageBox box(QMessageBox::Question, kProgramTitle, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void setQuestionFunction(QuestionFunction function)
{
    questionFunction() = std::move(function);
}

} // namespace ui
