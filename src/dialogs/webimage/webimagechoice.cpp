#include "dialogs/webimage/webimagechoice.h"

#include <cmath>

namespace lumipage
{

using pictures::WebCopyRequest;
using pictures::WebCopyResult;
using pictures::WebFormat;

namespace
{

bool twoWidths(const WebImageChoice &choice, int shownWidth)
{
    return choice.highDensity && shownWidth > 0 && choice.width > shownWidth;
}

} // namespace

QList<WebCopyRequest> webCopyRequests(const WebImageChoice &choice, const QString &source,
                                      const QString &folder, int shownWidth)
{
    QList<WebFormat> formats;
    if (choice.webpFirst && choice.format != WebFormat::Webp)
        formats << WebFormat::Webp;
    formats << choice.format;
    QList<int> widths;
    if (twoWidths(choice, shownWidth))
        widths << shownWidth;
    widths << choice.width;
    QList<WebCopyRequest> requests;
    for (WebFormat format : std::as_const(formats))
        for (int width : std::as_const(widths))
            requests << WebCopyRequest{source, folder,         width,
                                       format, choice.quality, choice.stripPersonal};
    return requests;
}

WebImageMarkupFields webImageMarkupFields(const WebImageChoice &choice,
                                          const QList<WebCopyResult> &copies,
                                          const ImageFields &image, int shownWidth)
{
    WebImageMarkupFields fields;
    fields.image = image;
    const bool two = twoWidths(choice, shownWidth);
    const int perFormat = two ? 2 : 1;
    if (copies.isEmpty() || copies.size() % perFormat != 0)
        return fields;
    const qsizetype last = copies.size() - perFormat; // the fallback's first copy
    fields.picture = copies.at(last).path;
    if (two)
        fields.picture2x = copies.at(last + 1).path;
    if (last > 0) {
        fields.webp = copies.at(0).path;
        if (two)
            fields.webp2x = copies.at(1).path;
    }
    const WebCopyResult &first = copies.at(last);
    fields.shownWidth = std::min(shownWidth > 0 ? shownWidth : first.width, first.width);
    fields.shownHeight =
        first.width > 0 ? int(std::lround(double(fields.shownWidth) * first.height / first.width))
                        : 0;
    return fields;
}

} // namespace lumipage
