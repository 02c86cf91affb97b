#include "dialogs/effects/glowtextmarkup.h"

#include "widgets/attributetext.h"

namespace lumipage
{

EffectResult glowTextRequest(const GlowTextFields &fields)
{
    using attributetext::doubleQuoted;
    return effectfields::filterTextRequest(
        fields.idNumber, fields.action,
        QStringLiteral("Glow(strength=") + doubleQuoted(fields.strength) +
            QStringLiteral(",Color=") + doubleQuoted(fields.colour) + QLatin1Char(')'));
}

} // namespace lumipage
