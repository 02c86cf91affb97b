#include "platform/browsing/shownfiles.h"

#include "platform/markup/htmltags.h"
#include "platform/markup/pagereferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace lumipage::shownfiles
{

namespace
{

// A style sheet larger than this is not looked into for pictures.
constexpr qint64 kLargestSheet = 4 << 20;

const QRegularExpression &fileUrlStart()
{
    static const QRegularExpression re(QStringLiteral("file://(?:localhost)?(?=/)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

// A stretch of a page: [start, end) of a start tag, or of a style element's content.
struct Span {
    qsizetype start;
    qsizetype end;
    bool style;
};

// The start tags of the page and the contents of its style elements.
QList<Span> tagsAndStyles(const QString &html)
{
    QList<Span> spans;
    static const QRegularExpression styleEnd(QStringLiteral("</style\\s*>"),
                                             QRegularExpression::CaseInsensitiveOption);
    for (const htmltags::StartTag &tag : htmltags::startTags(html)) {
        // The tag ends at the first '>' outside a quoted value.
        QChar quote;
        qsizetype end = tag.start + 1;
        for (; end < html.size(); ++end) {
            const QChar c = html.at(end);
            if (!quote.isNull())
                quote = c == quote ? QChar() : quote;
            else if (c == u'"' || c == u'\'')
                quote = c;
            else if (c == u'>')
                break;
        }
        spans.append({tag.start, end, false});
        if (tag.name == QLatin1String("STYLE") && end < html.size()) {
            const QRegularExpressionMatch close = styleEnd.match(html, end + 1);
            spans.append({end + 1, close.hasMatch() ? close.capturedStart() : html.size(), true});
        }
    }
    return spans;
}

// The text of style elements and style attributes of a page.
QStringList pageCss(const QString &html)
{
    QStringList css;
    const QList<htmltags::StartTag> tags = htmltags::startTags(html);
    for (const htmltags::StartTag &tag : tags)
        if (tag.has(QStringLiteral("style")))
            css << tag.value(QStringLiteral("style"));
    for (const Span &span : tagsAndStyles(html))
        if (span.style)
            css << html.mid(span.start, span.end - span.start);
    return css;
}

QString readSheet(const QString &path)
{
    QFile file(path);
    if (QFileInfo(path).size() > kLargestSheet || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void addPictures(const QString &css, const QString &folder, QSet<QString> &files)
{
    for (const QString &name : cssUrls(css)) {
        bool absolute = false;
        const std::optional<QString> path = pagereferences::localPath(name, folder, &absolute);
        if (path && !path->isEmpty())
            files.insert(*path);
    }
}

} // namespace

QStringList cssUrls(const QString &css)
{
    static const QRegularExpression re(
        QStringLiteral("url\\(\\s*(?:\"([^\"]*)\"|'([^']*)'|([^)\"'\\s]*))\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (auto it = re.globalMatch(css); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1) + m.captured(2) + m.captured(3);
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

QSet<QString> filesShown(const QString &html, const QString &pageFolder)
{
    const QString folder = pageFolder.isEmpty() ? QString() : QDir::cleanPath(pageFolder);
    QSet<QString> files;
    for (const pagereferences::LocalReference &r : pagereferences::localReferences(html, folder)) {
        if (!r.embedded || r.path.isEmpty())
            continue;
        files.insert(r.path);
        if (r.element == QLatin1String("LINK") &&
            r.path.endsWith(QLatin1String(".css"), Qt::CaseInsensitive))
            addPictures(readSheet(r.path), QFileInfo(r.path).path(), files);
    }
    for (const QString &css : pageCss(html))
        addPictures(css, folder, files);
    return files;
}

QString withFileUrlsOn(const QString &html, const QString &filesOrigin)
{
    QString out = html;
    QList<Span> spans = tagsAndStyles(html);
    // From the end, so that the positions still to come stay where they were.
    std::sort(spans.begin(), spans.end(),
              [](const Span &a, const Span &b) { return a.start > b.start; });
    for (const Span &span : spans) {
        const QString text = html.mid(span.start, span.end - span.start);
        const QString replaced = cssWithFileUrlsOn(text, filesOrigin);
        if (replaced != text)
            out.replace(span.start, span.end - span.start, replaced);
    }
    return out;
}

QString cssWithFileUrlsOn(const QString &css, const QString &filesOrigin)
{
    QString out = css;
    return out.replace(fileUrlStart(), filesOrigin);
}

} // namespace lumipage::shownfiles
