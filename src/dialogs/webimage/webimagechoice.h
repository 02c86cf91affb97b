#pragma once

#include "dialogs/webimage/webimagemarkup.h"
#include "pictures/webcopy.h"

#include <QList>

namespace lumipage
{

// What the web-copy dialog chose.
struct WebImageChoice {
    int width = 0; // of the copy, in pixels
    pictures::WebFormat format = pictures::WebFormat::Jpeg;
    bool webpFirst = false; // a WebP copy offered first, `format` the fallback for the rest
    int quality = 82;
    bool stripPersonal = true;
    bool highDensity = false; // 高解像度の画面用: a copy at the shown width and one at `width`
};

// The copies to make of `source` into `folder` for a picture shown `shownWidth` wide: the
// WebP ones first when chosen, each format at the shown width then at the chosen one with
// 高解像度の画面用 (when the chosen one is wider), else at the chosen width only.
QList<pictures::WebCopyRequest> webCopyRequests(const WebImageChoice &choice, const QString &source,
                                                const QString &folder, int shownWidth);

// The element's fields for the copies made (`copies`, in the order of webCopyRequests),
// shown at `shownWidth` at most, with its height in the copies' proportion.
WebImageMarkupFields webImageMarkupFields(const WebImageChoice &choice,
                                          const QList<pictures::WebCopyResult> &copies,
                                          const ImageFields &image, int shownWidth);

} // namespace lumipage
