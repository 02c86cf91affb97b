#include "dialogs/effects/alphatextdialog.h"

#include "dialogs/effects/alphatextmarkup.h"
#include "dialogs/effects/effectdialog.h"
#include "platform/desktop/dialogform.h"
#include "widgets/actioncombo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

AlphaTextDialog::AlphaTextDialog(const IdDraw &draw, QWidget *parent) : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form16"), QStringLiteral("消える文字設定"));
    m_opacity = form.row(QStringLiteral("透明度"),
                         form.lineEdit(QStringLiteral("Text1"), QStringLiteral("90")),
                         QStringLiteral("0～100"));
    m_style =
        form.row(QStringLiteral("ｽﾀｲﾙ"),
                 form.comboBox(QStringLiteral("Combo1"), alphaStyles(), QStringLiteral("円形")));
    m_id = form.row(QStringLiteral("ID"), new RandomIdField(QStringLiteral("Text2"), draw, this));
    m_action = form.row(QStringLiteral("ｱｸｼｮﾝ"), new ActionCombo(QStringLiteral("Combo2"), this));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(300, 170);
    connect(m_opacity, &QLineEdit::textChanged, ok,
            [ok](const QString &text) { ok->setEnabled(!text.isEmpty()); });
    // What OK builds from the fields now, also shown in the preview.
    const auto build = [this] {
        return alphaTextRequest(
            {m_opacity->text(), m_style->currentText(), m_id->number(), m_action->currentText()});
    };
    addEffectPreview(*this, *form.grid(), build);
    connect(ok, &QPushButton::clicked, this,
            [this, build] { finishEffect(*this, build(), m_request); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
