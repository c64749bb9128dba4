#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace ui {

// The program's one way of telling the user something: a message box with an OK button and the program's
// title, as every message of the price list front end is shown. Tests replace the function to capture the
// texts (and the details behind them, empty for most) instead of stopping at a modal box.
using MessageFunction = std::function<void(const QString& text, const QString& details)>;

inline const QString kProgramTitle = QStringLiteral("Price Catalogs");

void showMessage(const QString& text);

// The same with a title of its own: the estimating engine names itself in the few messages it has.
void showMessage(const QString& text, const QString& title);

// A message in the shop's words with what stands behind it (the database's own words, the SQL text)
// under the box's "Show Details..." button.
void showDetailedMessage(const QString& text, const QString& details);

// Replaces the function behind showMessage; an empty function puts the message box back.
void setMessageFunction(MessageFunction function);

// A question with Yes and No (No the default); whether the user said Yes. Tests answer in advance.
using QuestionFunction = std::function<bool(const QString& text)>;
bool askYesNo(const QString& text);
void setQuestionFunction(QuestionFunction function);

} // namespace ui
