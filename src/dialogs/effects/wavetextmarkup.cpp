#include "dialogs/effects/wavetextmarkup.h"

#include "widgets/attributetext.h"

namespace lumipage
{

EffectResult waveTextRequest(const WaveTextFields &fields)
{
    if (fields.action != effectfields::withScriptAction() &&
        fields.action != effectfields::withoutScriptAction())
        return BuildResult::nothing();
    using attributetext::doubleQuoted;
    return effectfields::filterTextRequest(
        fields.idNumber, fields.action,
        QStringLiteral("Wave(strength=") + doubleQuoted(fields.strength) +
            QStringLiteral(",freq=") + doubleQuoted(fields.waves) +
            QStringLiteral(",lightstrength=") + doubleQuoted(fields.light) + QLatin1Char(')'));
}

} // namespace lumipage
