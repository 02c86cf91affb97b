#include "dialogs/elements/ruledialog.h"

#include "app/mainwindow.h"
#include "dialogs/effects/colourfield.h"
#include "dialogs/elements/attributetext.h"
#include "dialogs/elements/dialogform.h"
#include "platform/paletteview.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

std::optional<QString> ruleMarkup(const RuleFields &f)
{
    QString shading;
    if (f.shading == QStringLiteral("なし"))
        shading = QStringLiteral("noshade ");
    else if (f.shading != QStringLiteral("あり"))
        return std::nullopt;
    using attributetext::doubleQuoted;
    return QStringLiteral("<HR WIDTH=\"") + doubleQuoted(f.width) + QStringLiteral("%\"SIZE=\"") +
           doubleQuoted(f.size) + QStringLiteral("\"") + shading + QStringLiteral("COLOR=\"") +
           doubleQuoted(f.colour) + QStringLiteral("\"ALIGN=") + f.align + QLatin1Char('>');
}

RuleDialog::RuleDialog(MainWindow &window) : QDialog(&window), m_window(window)
{
    DialogForm form(this, QStringLiteral("Form11"), QStringLiteral("罫線の設定"));
    m_width = form.line(QStringLiteral("Text1"), QStringLiteral("罫線の長さ"),
                        QStringLiteral("100"), QStringLiteral("%"));
    m_size = form.line(QStringLiteral("Text2"), QStringLiteral("罫線の幅"), QStringLiteral("2"),
                       QStringLiteral("pixel"));
    m_shading =
        form.combo(QStringLiteral("Combo1"), QStringLiteral("影の有無"),
                   {QStringLiteral("あり"), QStringLiteral("なし")}, QStringLiteral("あり"));
    m_colour = new ColourField(QStringLiteral("Text3"), QStringLiteral("Command3"),
                               QStringLiteral("Command4"), this);
    m_colour->setText(QStringLiteral("silver"));
    int row = form.nextRow();
    form.grid()->addWidget(new QLabel(QStringLiteral("罫線の色"), this), row, 0);
    form.grid()->addWidget(m_colour, row, 1);
    form.skipRow();
    m_align =
        form.combo(QStringLiteral("Combo2"), QStringLiteral("罫線の位置"),
                   {QStringLiteral("left"), QStringLiteral("center"), QStringLiteral("right")},
                   QStringLiteral("center"));
    auto *palette = new PaletteView(this);
    palette->setMinimumSize(120, 120);
    form.grid()->addWidget(palette, 0, 3, form.nextRow(), 1);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(420, 230);
    connect(ok, &QPushButton::clicked, this, [this] {
        const auto markup = ruleMarkup({m_width->text(), m_size->text(), m_shading->currentText(),
                                        m_colour->text(), m_align->currentText()});
        if (!markup)
            return; // an unknown shading text: nothing happens
        m_window.shared().insert_html = *markup;
        m_window.veld_go();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
