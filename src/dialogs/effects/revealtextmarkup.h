#pragma once

#include "dialogs/effects/effectresult.h"

namespace lumipage
{

// The text-reveal dialog's fields as typed.
struct RevealTextFields {
    QString transition = QStringLiteral("0");
    QString alignment = QStringLiteral("center");
    QString background = QStringLiteral("WHITE");
};

// The hidden block with the id veld that the reveal script brings into view, or a
// problem when the transition is not a whole number from 0 to 23.
EffectResult revealTextRequest(const RevealTextFields &fields);

} // namespace lumipage
