#include "dialogs/effects/glowtextdialog.h"

#include "dialogs/effects/effectdialog.h"
#include "dialogs/effects/glowtextmarkup.h"
#include "platform/desktop/dialogform.h"
#include "platform/desktop/paletteview.h"
#include "widgets/actioncombo.h"
#include "widgets/colourfield.h"
#include "widgets/icons.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

GlowTextDialog::GlowTextDialog(const QString &programFolder, const IdDraw &draw, QWidget *parent)
    : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form15"), QStringLiteral("燃える文字設定"));
    m_colour = form.row(QStringLiteral("影の色"),
                        new ColourField(QStringLiteral("Text1"), QStringLiteral("Command3"),
                                        QStringLiteral("Command4"), this));
    m_strength = form.row(QStringLiteral("影の度合"),
                          form.lineEdit(QStringLiteral("Text2"), QStringLiteral("5")),
                          QStringLiteral("任意の整数"));
    m_id = form.row(QStringLiteral("ID"), new RandomIdField(QStringLiteral("Text3"), draw, this));
    m_action = form.row(QStringLiteral("ｱｸｼｮﾝ"), new ActionCombo(QStringLiteral("Combo1"), this));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(Icons::glyph(QStringLiteral("炎"), 1).pixmap(32, 32));
    form.grid()->addWidget(picture, form.nextRow(), 0);
    form.skipRow();
    form.grid()->addWidget(ColourField::paletteView(programFolder, this), 0, 3, form.nextRow(), 1);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(440, 230);
    // The colour box starts filled, so OK starts enabled; it needs a colour.
    connect(m_colour, &ColourField::textChanged, ok,
            [ok](const QString &text) { ok->setEnabled(!text.isEmpty()); });
    m_colour->setText(QStringLiteral("RED"));
    // What OK builds from the fields now, also shown in the preview.
    const auto build = [this] {
        return glowTextRequest(
            {m_colour->text(), m_strength->text(), m_id->number(), m_action->currentText()});
    };
    addEffectPreview(*this, *form.grid(), build);
    connect(ok, &QPushButton::clicked, this,
            [this, build] { finishEffect(*this, build(), m_request); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
