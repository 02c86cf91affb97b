#pragma once

#include "dialogs/effects/effectresult.h"

namespace lumipage
{

// The shadow-text dialog's fields as typed, and the id number drawn at opening.
struct ShadowTextFields {
    QString colour;
    QString direction = QStringLiteral("10");
    int idNumber = 0;
    QString action = QStringLiteral("なし");
};

// The block with the Shadow filter; the script is merged only for the action "あり".
EffectResult shadowTextRequest(const ShadowTextFields &fields);

} // namespace lumipage
