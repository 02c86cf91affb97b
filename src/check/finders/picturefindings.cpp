#include "check/finders/picturefindings.h"

#include "check/finders/parsedpage.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <gumbo.h>

namespace lumipage::check
{

namespace
{

bool isImage(const CheckedElement &e)
{
    return e.node && e.node->v.element.tag == GUMBO_TAG_IMG && hasAttribute(e.node, "src");
}

// The width the page gives an element in pixels ("400", "400px"); 0 when it gives none
// or a relative one ("50%").
int pixelWidth(const QString &value)
{
    static const QRegularExpression pixels(QStringLiteral("^\\s*(\\d+)(?:\\.\\d*)?\\s*(px)?\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pixels.match(value);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

QStringList pictureSources(const ParsedPage &page)
{
    QStringList sources;
    for (const CheckedElement &e : page.elements())
        if (isImage(e) && !sources.contains(attribute(e.node, "src").trimmed()))
            sources << attribute(e.node, "src").trimmed();
    return sources;
}

QList<PageFinding> pictureFindings(const ParsedPage &page,
                                   const QHash<QString, pictures::PictureInfo> &files)
{
    QList<PageFinding> out;
    const auto &elements = page.elements();
    for (int ordinal = 0; ordinal < int(elements.size()); ++ordinal) {
        const CheckedElement &e = elements[ordinal];
        if (!isImage(e))
            continue;
        const QString source = attribute(e.node, "src").trimmed();
        const auto add = [&](const QString &message) {
            out << PageFinding{FindingKind::Image, message, e.line, e.name, ordinal};
        };
        if (!hasAttribute(e.node, "width") || !hasAttribute(e.node, "height"))
            add(QStringLiteral("width と height がありません(読み込みの間にページがずれます): %1")
                    .arg(source));
        const auto file = files.constFind(source);
        if (file == files.constEnd())
            continue;
        const pictures::PictureInfo &info = *file;
        const QString name = QFileInfo(info.path).fileName();
        const int shown = pixelWidth(attribute(e.node, "width"));
        if (shown > 0 && info.uprightWidth() > 2 * shown)
            add(QStringLiteral("表示の大きさよりずっと大きな画像です(幅 %1 ピクセルを %2 "
                               "で表示): %3")
                    .arg(info.uprightWidth())
                    .arg(shown)
                    .arg(name));
        if (info.bytes > kHeavyPictureBytes)
            add(QStringLiteral("画像ファイルが %1 MB あり、読み込みに時間がかかります: %2")
                    .arg(QLocale(QLocale::Japanese).toString(info.bytes / 1048576.0, 'f', 1),
                         name));
        if (info.orientation != 1)
            add(QStringLiteral("EXIF の向きの情報で回転させて見せる画像です(向きを読まない"
                               "ところでは横倒しになります): %1")
                    .arg(name));
        if (info.gps)
            add(QStringLiteral("位置情報が含まれています(撮影した場所を誰でも読めます): %1")
                    .arg(name));
    }
    return out;
}

} // namespace lumipage::check
