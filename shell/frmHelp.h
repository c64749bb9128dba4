#pragma once

#include <QDialog>

class QLabel;

namespace shell {

// The procedure window: how the price-list parameters make the schedule of a price sheet. Close, Enter
// and Esc close it.
class frmHelp : public QDialog
{
    Q_OBJECT

public:
    explicit frmHelp(QWidget* parent = nullptr);

private:
    QLabel* m_label1;
    QLabel* m_label2;
    QLabel* m_label5;
    QLabel* m_label6;
};

} // namespace shell
