#include "shell/frmHelp.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/MessageBox.h"
#include "ui/WindowPlace.h"

namespace shell {

namespace {

constexpr int kWidth = 460;

} // namespace

frmHelp::frmHelp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(ui::kProgramTitle);
    ui::keepWindowPlace(this);

    const auto makeLabel = [this](const char* name, const QString& text, bool heading) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setWordWrap(true);
        if (heading) {
            QFont font = label->font();
            font.setBold(true);
            label->setFont(font);
        }
        return label;
    };
    m_label1 = makeLabel("Label1", QStringLiteral("Catalog Pricing Parameters"), true);
    m_label2 = makeLabel(
        "Label2",
        QStringLiteral("The price sheet consists of 2 columns of data starting with the \"Start Quantity\" and ending "
                       "with the \"Final Quantity\". The Start Qty will increment by the amount shown in the first "
                       "\"Jump by\" section until the quantity reaches the \"2nd Quantity\". The next jump will take "
                       "place until the \"3rd Quantity\" is reached followed by a 3rd jump until the Final Qty.  The "
                       "actual price will be as calculated or rounded up/down by the amount shown."),
        false);
    m_label5 = makeLabel("Label5", QStringLiteral("General"), true);
    m_label6 = makeLabel(
        "Label6",
        QStringLiteral("All price lists are created from existing jobs or quotes.  The description, category and "
                       "bindery descriptions may be modified as desired. A Ref# is printed with the price sheet and "
                       "represents the actual job or quote number."),
        false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addWidget(m_label1);
    layout->addWidget(m_label2);
    layout->addSpacing(10);
    layout->addWidget(m_label5);
    layout->addWidget(m_label6);
    layout->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setText(QStringLiteral("&Close")); // the platform theme's own wording varies
    close->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // As tall as the wrapped texts need at this width.
    const int height = layout->totalHeightForWidth(kWidth);
    setFixedSize(kWidth, height > 0 ? height : 330);
}

} // namespace shell
