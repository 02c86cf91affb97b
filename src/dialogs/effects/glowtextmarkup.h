#pragma once

#include "dialogs/effects/effectresult.h"

namespace lumipage
{

// The glow-text dialog's fields as typed, and the id number drawn at opening.
struct GlowTextFields {
    QString colour = QStringLiteral("RED");
    QString strength = QStringLiteral("5");
    int idNumber = 0;
    QString action = QStringLiteral("なし");
};

// The block with the Glow filter (strength before colour); the script is merged only
// for the action "あり".
EffectResult glowTextRequest(const GlowTextFields &fields);

} // namespace lumipage
