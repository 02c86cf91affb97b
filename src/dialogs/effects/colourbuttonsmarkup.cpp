#include "dialogs/effects/colourbuttonsmarkup.h"

#include "widgets/attributetext.h"

namespace lumipage
{

QString colourButtonMarkup(int index, const ColourButtonFields &fields)
{
    using attributetext::doubleQuoted;
    const QString n = QString::number(index);
    return QStringLiteral("<Button ID=VELD") + n + QStringLiteral(" onmouseover=\"go_in(") + n +
           QStringLiteral(")\" onmouseout=\"go_out(") + n +
           QStringLiteral(")\" onclick=\"go_link(") + n +
           QStringLiteral(")\" STYLE=\"font-family:") + doubleQuoted(fields.typeface) +
           QStringLiteral(";font-size:") + doubleQuoted(fields.size) + QStringLiteral("pt;Color:") +
           doubleQuoted(fields.firstColour) + QStringLiteral(";\">") + fields.label +
           QStringLiteral("</Button>");
}

BuildResult addColourButton(ColourButtonList &list, const ColourButtonFields &fields,
                            const QString &pageFolder)
{
    const int index = int(list.buttons.size());
    if (index >= maxColourButtons)
        return BuildResult::problem(QStringLiteral("10項目以上は設定できません。"));
    list.color1 = fields.firstColour;
    list.color2 = fields.overColour;
    list.buttons.append(colourButtonMarkup(index, fields));
    list.linkTargets[index] = effectfields::pageRelativePath(fields.linkTarget, pageFolder);
    return BuildResult::nothing();
}

void removeColourButtons(ColourButtonList &list)
{
    list.buttons.clear();
}

EffectResult colourButtonsRequest(const ColourButtonList &list)
{
    if (list.buttons.isEmpty())
        return BuildResult::problem(QStringLiteral("設定項目がありません！"));
    EffectRequest request;
    request.fragment = list.buttons.join(QString());
    request.color1 = list.color1;
    request.color2 = list.color2;
    request.linkTargets = list.linkTargets;
    return request;
}

} // namespace lumipage
