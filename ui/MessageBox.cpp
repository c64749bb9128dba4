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

void showMessage(const QString& text, const QString& title)
{
    if (messageFunction()) {
        messageFunction()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void setMessageFunction(MessageFunction function)
{
    messageFunction() = std::move(function);
}

} // namespace ui
