#include "dialogs/webimage/webimagemarkup.h"

namespace lumipage
{

namespace
{

// A value in double quotes: `&` too, so that a file named "a&copy.jpg" stays so.
QString quoted(const QString &value)
{
    return QLatin1Char('"') +
           QString(value)
               .replace(QLatin1Char('&'), QLatin1String("&amp;"))
               .replace(QLatin1Char('"'), QLatin1String("&quot;")) +
           QLatin1Char('"');
}

// A srcset candidate list: the spaces and commas of names escaped, which would
// otherwise split a name.
QString sourceSet(const QString &one, const QString &two, const QString &pageFolder)
{
    const auto url = [&pageFolder](const QString &path) {
        return imageSourceFor(path, pageFolder)
            .replace(QLatin1Char(' '), QLatin1String("%20"))
            .replace(QLatin1Char(','), QLatin1String("%2C"));
    };
    return two.isEmpty() ? url(one) : QStringLiteral("%1 1x, %2 2x").arg(url(one), url(two));
}

} // namespace

QString webImageMarkup(const WebImageMarkupFields &fields, const QString &pageFolder)
{
    ImageFields image = fields.image;
    image.source = fields.picture;
    QString img = QStringLiteral("<IMG");
    for (const auto &[name, value] : imageAttributes(image, pageFolder)) {
        img += QStringLiteral(" %1=%2").arg(name, quoted(value));
        if (name == QLatin1String("src") && !fields.picture2x.isEmpty())
            img += QStringLiteral(" srcset=") +
                   quoted(sourceSet(fields.picture, fields.picture2x, pageFolder));
    }
    if (fields.shownWidth > 0 && fields.shownHeight > 0)
        img += QStringLiteral(" width=\"%1\" height=\"%2\"")
                   .arg(fields.shownWidth)
                   .arg(fields.shownHeight);
    img += QLatin1Char('>');
    if (fields.webp.isEmpty())
        return img;
    return QStringLiteral("<PICTURE><SOURCE srcset=%1 type=\"image/webp\">%2</PICTURE>")
        .arg(quoted(sourceSet(fields.webp, fields.webp2x, pageFolder)), img);
}

} // namespace lumipage
