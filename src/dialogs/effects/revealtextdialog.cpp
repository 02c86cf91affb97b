#include "dialogs/effects/revealtextdialog.h"

#include "dialogs/effects/effectdialog.h"
#include "dialogs/effects/revealtextmarkup.h"
#include "platform/desktop/dialogform.h"
#include "platform/desktop/paletteview.h"
#include "widgets/colourfield.h"
#include "widgets/transitionbox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

namespace lumipage
{

RevealTextDialog::RevealTextDialog(const QString &programFolder, QWidget *parent) : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form6"), QStringLiteral("RevealTransition設定画面"));
    m_transition =
        form.row(QStringLiteral("TRansition No"),
                 new TransitionBox(QStringLiteral("Combo1"), QStringLiteral("Text2"), this));
    m_alignment = form.row(
        QStringLiteral("文字位置"),
        form.comboBox(QStringLiteral("Combo2"),
                      {QStringLiteral("left"), QStringLiteral("center"), QStringLiteral("right")},
                      QStringLiteral("center")));
    m_background =
        form.row(QStringLiteral("背景色"),
                 new ColourField(QStringLiteral("Text1"), QStringLiteral("Command1"), {}, this));
    m_background->setText(QStringLiteral("WHITE"));
    form.grid()->addWidget(ColourField::paletteView(programFolder, this), 0, 3, form.nextRow(), 1);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    resize(460, 200);
    // The number box never stays empty (it falls back to "0"), so OK stays usable.
    connect(m_transition, &TransitionBox::textChanged, ok, [ok] { ok->setEnabled(true); });
    // What OK builds from the fields now, also shown in the preview.
    const auto build = [this] {
        return revealTextRequest(
            {m_transition->text(), m_alignment->currentText(), m_background->text()});
    };
    addEffectPreview(*this, *form.grid(), build);
    connect(ok, &QPushButton::clicked, this,
            [this, build] { finishEffect(*this, build(), m_request); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
