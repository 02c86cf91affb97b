#pragma once

#include "fragments/imagemarkup.h"

#include <QString>

namespace lumipage
{

// The web copies of one picture as written, and how the page shows them.
struct WebImageMarkupFields {
    ImageFields image;  // alt, align, border, spacing as the image dialog took them
    QString picture;    // the JPEG or PNG copy (or the WebP one, when it has no fallback)
    QString picture2x;  // 高解像度の画面用: the copy twice as wide; else empty
    QString webp;       // WebP with a fallback: the WebP copy; else empty
    QString webp2x;     // and its copy twice as wide
    int shownWidth = 0; // the size the page shows it at
    int shownHeight = 0;
};

// The element for the copies, attributes in the image dialog's style, files inside
// `pageFolder` named relative to it: an IMG with `width`/`height` of the shown size (and a
// `srcset` of 1x and 2x with a copy for sharp screens), inside a PICTURE whose SOURCE
// offers the WebP copies when there are any.
QString webImageMarkup(const WebImageMarkupFields &fields, const QString &pageFolder);

} // namespace lumipage
