#include "pictures/websuggestion.h"

#include <algorithm>
#include <cmath>

namespace lumipage::pictures
{

int defaultQuality(WebFormat format)
{
    switch (format) {
    case WebFormat::Jpeg:
        return 82;
    case WebFormat::Webp:
        return 80;
    case WebFormat::Png:
        return 0;
    }
    return 0;
}

WebCopySuggestion suggestWebCopy(const PictureInfo &info, int shownWidth, bool fewColours)
{
    WebCopySuggestion s;
    const int own = info.uprightWidth();
    if (own <= 0)
        return s;
    s.offer =
        !info.animated && !info.svg && (own > kOfferAboveWidth || info.bytes > kOfferAboveBytes);
    s.shownWidth = std::min(shownWidth > 0 ? shownWidth : kDefaultShownWidth, own);
    s.shownHeight = int(std::lround(double(s.shownWidth) * info.uprightHeight() / own));
    s.width = std::min(2 * s.shownWidth, own);
    s.format = info.alpha || fewColours ? WebFormat::Png : WebFormat::Jpeg;
    s.quality = defaultQuality(s.format);
    return s;
}

} // namespace lumipage::pictures
