#include "dialogs/elements/ruledialog.h"

#include "platform/desktop/dialogform.h"
#include "platform/desktop/paletteview.h"
#include "widgets/attributetext.h"
#include "widgets/colourfield.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

BuildResult ruleMarkup(const RuleFields &f)
{
    QString shading;
    if (f.shading == QStringLiteral("なし"))
        shading = QStringLiteral("noshade ");
    else if (f.shading != QStringLiteral("あり"))
        return BuildResult::nothing();
    using attributetext::doubleQuoted;
    return BuildResult::fragment(
        QStringLiteral("<HR WIDTH=\"") + doubleQuoted(f.width) + QStringLiteral("%\"SIZE=\"") +
        doubleQuoted(f.size) + QStringLiteral("\"") + shading + QStringLiteral("COLOR=\"") +
        doubleQuoted(f.colour) + QStringLiteral("\"ALIGN=") + f.align + QLatin1Char('>'));
}

RuleDialog::RuleDialog(const QString &programFolder, QWidget *parent) : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form11"), QStringLiteral("罫線の設定"));
    m_width = form.row(QStringLiteral("罫線の長さ"),
                       form.lineEdit(QStringLiteral("Text1"), QStringLiteral("100")),
                       QStringLiteral("%"));
    m_size = form.row(QStringLiteral("罫線の幅"),
                      form.lineEdit(QStringLiteral("Text2"), QStringLiteral("2")),
                      QStringLiteral("pixel"));
    m_shading = form.row(QStringLiteral("影の有無"),
                         form.comboBox(QStringLiteral("Combo1"),
                                       {QStringLiteral("あり"), QStringLiteral("なし")},
                                       QStringLiteral("あり")));
    m_colour = form.row(QStringLiteral("罫線の色"),
                        new ColourField(QStringLiteral("Text3"), QStringLiteral("Command3"),
                                        QStringLiteral("Command4"), this));
    m_colour->setText(QStringLiteral("silver"));
    m_align = form.row(
        QStringLiteral("罫線の位置"),
        form.comboBox(QStringLiteral("Combo2"),
                      {QStringLiteral("left"), QStringLiteral("center"), QStringLiteral("right")},
                      QStringLiteral("center")));
    form.grid()->addWidget(ColourField::paletteView(programFolder, this), 0, 3, form.nextRow(), 1);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(420, 230);
    connect(ok, &QPushButton::clicked, this, [this] {
        const BuildResult result =
            ruleMarkup({m_width->text(), m_size->text(), m_shading->currentText(), m_colour->text(),
                        m_align->currentText()});
        if (!result.isFragment())
            return; // an unknown shading text: nothing happens
        m_built = result;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
