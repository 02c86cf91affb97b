#pragma once

#include "dialogs/effects/effectresult.h"

namespace lumipage
{

// The wave-text dialog's fields as typed, and the id number drawn at opening.
struct WaveTextFields {
    QString strength = QStringLiteral("5");
    QString waves = QStringLiteral("10");
    QString light = QStringLiteral("20");
    int idNumber = 0;
    QString action = QStringLiteral("なし");
};

// The block with the Wave filter; "あり" merges the script, "なし" pastes the block
// only, and any other action inserts nothing.
EffectResult waveTextRequest(const WaveTextFields &fields);

} // namespace lumipage
