#pragma once

#include "dialogs/effects/effectresult.h"

#include <QStringList>

namespace lumipage
{

// The alpha-text dialog's fields as typed, and the id number drawn at opening.
struct AlphaTextFields {
    QString opacity = QStringLiteral("90");
    QString style = QStringLiteral("円形");
    int idNumber = 0;
    QString action = QStringLiteral("なし");
};

// The gradient styles offered, in the order of their filter numbers 1, 2, 3.
QStringList alphaStyles();

// The block with the Alpha filter; a problem when the style is none of the three; the
// script is merged only for the action "あり".
EffectResult alphaTextRequest(const AlphaTextFields &fields);

} // namespace lumipage
