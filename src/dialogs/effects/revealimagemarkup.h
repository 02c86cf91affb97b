#pragma once

#include "dialogs/effects/effectresult.h"

namespace lumipage
{

// The image-reveal dialog's fields as typed.
struct RevealImageFields {
    QString image;
    QString alt;
    QString transition = QStringLiteral("0");
};

// The hidden image with the id veldimage that the reveal script brings into view,
// followed by the DIV end tag the dialog has always written; an image inside
// `pageFolder` is named relative to it. A problem when the transition is not a whole
// number from 0 to 23.
EffectResult revealImageRequest(const RevealImageFields &fields, const QString &pageFolder);

} // namespace lumipage
