#include "dialogs/effects/alphatextmarkup.h"

#include "widgets/attributetext.h"

namespace lumipage
{

QStringList alphaStyles()
{
    return {QStringLiteral("線形"), QStringLiteral("円形"), QStringLiteral("長方形")};
}

EffectResult alphaTextRequest(const AlphaTextFields &fields)
{
    const qsizetype style = alphaStyles().indexOf(fields.style);
    if (style < 0)
        return BuildResult::problem(
            QStringLiteral("ｽﾀｲﾙは「線形」「円形」「長方形」のいずれかを選んでください。"));
    return effectfields::filterTextRequest(
        fields.idNumber, fields.action,
        QStringLiteral("Alpha(opacity=") + attributetext::doubleQuoted(fields.opacity) +
            QStringLiteral(",style=") + QString::number(style + 1) + QLatin1Char(')'));
}

} // namespace lumipage
