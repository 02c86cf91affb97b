#include "dialogs/effects/wavetextdialog.h"

#include "dialogs/effects/effectdialog.h"
#include "dialogs/effects/wavetextmarkup.h"
#include "platform/desktop/dialogform.h"
#include "widgets/actioncombo.h"

#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

WaveTextDialog::WaveTextDialog(const IdDraw &draw, QWidget *parent) : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form14"), QStringLiteral("波付き文字設定"));
    const QString anyWhole = QStringLiteral("任意の整数");
    m_strength = form.row(QStringLiteral("波の強さ"),
                          form.lineEdit(QStringLiteral("Text1"), QStringLiteral("5")), anyWhole);
    m_waves = form.row(QStringLiteral("波の個数"),
                       form.lineEdit(QStringLiteral("Text2"), QStringLiteral("10")),
                       QStringLiteral("0～100"));
    m_light = form.row(QStringLiteral("光の強さ"),
                       form.lineEdit(QStringLiteral("Text3"), QStringLiteral("20")), anyWhole);
    m_id = form.row(QStringLiteral("ID"), new RandomIdField(QStringLiteral("Text4"), draw, this));
    m_action = form.row(QStringLiteral("ｱｸｼｮﾝ"), new ActionCombo(QStringLiteral("Combo1"), this));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(300, 200);
    connect(m_strength, &QLineEdit::textChanged, ok,
            [ok](const QString &text) { ok->setEnabled(!text.isEmpty()); });
    // What OK builds from the fields now, also shown in the preview.
    const auto build = [this] {
        return waveTextRequest({m_strength->text(), m_waves->text(), m_light->text(),
                                m_id->number(), m_action->currentText()});
    };
    addEffectPreview(*this, *form.grid(), build);
    connect(ok, &QPushButton::clicked, this,
            [this, build] { finishEffect(*this, build(), m_request); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
