#pragma once

#include "pictures/pictureinfo.h"
#include "pictures/webcopy.h"

namespace lumipage::pictures
{

// Above these a picture is bigger than a page needs, and a web copy is offered.
inline constexpr int kOfferAboveWidth = 1600;
inline constexpr qint64 kOfferAboveBytes = 500 * 1024;
// The width a new picture is taken to be shown at when the page does not say: a wide
// text column.
inline constexpr int kDefaultShownWidth = 800;

// What the web-copy dialog proposes for a picture.
struct WebCopySuggestion {
    bool offer = false; // whether to offer a copy at all
    int width = 0;      // of the copy: twice the shown width, for sharp screens
    int shownWidth = 0; // as the page shows it (width attribute)
    int shownHeight = 0;
    WebFormat format = WebFormat::Jpeg;
    int quality = 82;
};

// The default quality of a format (JPEG 82, WebP 80; PNG has none and answers 0).
int defaultQuality(WebFormat format);

// The suggestion for `info` shown `shownWidth` pixels wide (0: not known, taken as
// kDefaultShownWidth or the picture's own width if smaller). A copy is offered for a
// picture wider than kOfferAboveWidth or larger than kOfferAboveBytes; never for an
// animation or an SVG, which go in as they are. PNG for transparency or few colours
// (`fewColours`, see hasFewColours), JPEG otherwise.
WebCopySuggestion suggestWebCopy(const PictureInfo &info, int shownWidth, bool fewColours);

} // namespace lumipage::pictures
