#pragma once

#include <QWidget>

class QLabel;

namespace shell {

// Moves a window to the middle of its screen.
void CenterForm(QWidget* form);

// The procedure window: how the price-list parameters make the schedule of a price sheet.
class frmHelp : public QWidget
{
    Q_OBJECT

public:
    explicit frmHelp(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_label1;
    QLabel* m_label2;
    QLabel* m_label5;
    QLabel* m_label6;
    bool m_centred = false;
};

} // namespace shell
