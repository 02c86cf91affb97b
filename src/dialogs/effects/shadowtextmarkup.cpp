#include "dialogs/effects/shadowtextmarkup.h"

#include "widgets/attributetext.h"

namespace lumipage
{

EffectResult shadowTextRequest(const ShadowTextFields &fields)
{
    using attributetext::doubleQuoted;
    return effectfields::filterTextRequest(
        fields.idNumber, fields.action,
        QStringLiteral("Shadow(Color=") + doubleQuoted(fields.colour) +
            QStringLiteral(",Direction=") + doubleQuoted(fields.direction) + QLatin1Char(')'));
}

} // namespace lumipage
