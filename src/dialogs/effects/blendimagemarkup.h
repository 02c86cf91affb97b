#pragma once

#include "dialogs/effects/effectresult.h"

namespace lumipage
{

// The blend dialog's fields as typed, and the id number drawn at opening.
struct BlendImageFields {
    QString firstImage;
    QString nextImage;
    int idNumber = 0;
};

// The image id: "image" and the drawn number.
QString blendImageId(int idNumber);

// The image with the blendTrans filter showing the first image; the script receives
// both files and the id. Files inside `pageFolder` are named relative to it. A problem
// when either image is missing.
EffectResult blendImageRequest(const BlendImageFields &fields, const QString &pageFolder);

} // namespace lumipage
