#include "platform/markup/pagereferences.h"

#include "platform/markup/htmltags.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace lumipage::pagereferences
{

namespace
{

// Attributes that name a file, and whether the element shows or plays it.
struct Naming {
    const char *attribute;
    bool embedded;
};
constexpr Naming kNamings[] = {{"src", true},    {"background", true}, {"lowsrc", true},
                               {"dynsrc", true}, {"data", true},       {"href", false}};

bool isLinkToFollow(const htmltags::StartTag &tag)
{
    // A LINK element's href is a style sheet or an icon the page uses; other hrefs
    // (A, AREA, BASE) lead elsewhere.
    return tag.name != QLatin1String("LINK");
}

bool within(const QString &path, const QString &folder)
{
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return !folder.isEmpty() && path.startsWith(prefix);
}

bool sameBytes(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kChunk = 1 << 16;
    while (!fa.atEnd())
        if (fa.read(kChunk) != fb.read(kChunk))
            return false;
    return true;
}

bool isPage(const QString &path)
{
    return hasSuffix(path, {"htm", "html"});
}

} // namespace

bool hasSuffix(const QString &path, std::initializer_list<const char *> suffixes)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const char *s : suffixes)
        if (suffix == QLatin1String(s))
            return true;
    return false;
}

std::optional<QString> localPath(const QString &value, const QString &pageFolder, bool *absolute)
{
    QString text = value.trimmed();
    if (text.isEmpty() || text.startsWith(u'#'))
        return std::nullopt;
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        *absolute = true;
        return QDir::cleanPath(QUrl(text).toLocalFile());
    }
    // Any other scheme ("http:", "mailto:", "javascript:", "data:") or "//host".
    const qsizetype colon = text.indexOf(u':');
    if ((colon > 1 && !text.left(colon).contains(u'/')) || text.startsWith(QLatin1String("//")))
        return std::nullopt;
    for (const QChar stop : {u'?', u'#'})
        if (const qsizetype at = text.indexOf(stop); at >= 0)
            text.truncate(at);
    *absolute = QDir::isAbsolutePath(text);
    if (*absolute)
        return QDir::cleanPath(text);
    if (pageFolder.isEmpty())
        return QString();
    return QDir::cleanPath(QDir(pageFolder).absoluteFilePath(text));
}

QList<LocalReference> localReferences(const QString &html, const QString &pageFolder)
{
    const QString folder = pageFolder.isEmpty() ? QString() : QDir::cleanPath(pageFolder);
    QList<LocalReference> out;
    for (const htmltags::StartTag &tag : htmltags::startTags(html)) {
        for (const Naming &naming : kNamings) {
            const QString name = QLatin1String(naming.attribute);
            if (!tag.has(name))
                continue;
            const QString value = tag.value(name);
            bool absolute = false;
            const std::optional<QString> path = localPath(value, folder, &absolute);
            if (!path)
                continue;
            const bool embedded = naming.embedded || !isLinkToFollow(tag);
            out.append({tag.name, name, value, *path, tag.line, tag.start, absolute,
                        !path->isEmpty() && !within(*path, folder), embedded});
        }
    }
    return out;
}

QList<Finding> checkPage(const QString &html, const QString &pageFolder)
{
    QList<Finding> findings;
    for (const LocalReference &r : localReferences(html, pageFolder)) {
        if (!r.path.isEmpty() && !QFileInfo::exists(r.path))
            findings.append({Finding::Kind::Missing, r.element, r.line, r.value, r.start});
        if (r.absolute)
            findings.append({Finding::Kind::Absolute, r.element, r.line, r.value, r.start});
    }
    return findings;
}

QString Finding::message() const
{
    return (kind == Kind::Missing ? QStringLiteral("ファイルがありません: %1")
                                  : QStringLiteral("絶対パスで指定されています: %1"))
        .arg(target);
}

bool mayNameFilesAbsolutely(const QString &html)
{
    // A value that begins (after white space and a quote) with "/", "file:" or a
    // character reference, in any attribute whose name ends as one of the naming ones
    // (lowsrc and dynsrc end as src). Each "=" is looked at, without a pattern tried at
    // every place of the text: a save of a large page takes the look every time.
    static const QLatin1StringView kNames[] = {
        QLatin1StringView("src"), QLatin1StringView("background"), QLatin1StringView("data"),
        QLatin1StringView("href")};
    const QStringView text(html);
    for (qsizetype equals = text.indexOf(u'='); equals >= 0;
         equals = text.indexOf(u'=', equals + 1)) {
        qsizetype nameEnd = equals;
        while (nameEnd > 0 && text[nameEnd - 1].isSpace())
            --nameEnd;
        // Each naming attribute ends in c, d, a or f: most "=" are passed at one look.
        const char16_t last = nameEnd > 0 ? text[nameEnd - 1].toLower().unicode() : u'\0';
        if (last != u'c' && last != u'd' && last != u'a' && last != u'f')
            continue;
        const QStringView before = text.first(nameEnd);
        if (std::ranges::none_of(kNames, [before](QLatin1StringView name) {
                return before.endsWith(name, Qt::CaseInsensitive);
            }))
            continue;
        qsizetype value = equals + 1;
        while (value < text.size() && text[value].isSpace())
            ++value;
        if (value < text.size() && (text[value] == u'"' || text[value] == u'\''))
            ++value;
        while (value < text.size() && text[value].isSpace())
            ++value;
        const QStringView rest = text.sliced(value);
        if (rest.startsWith(u'/') || rest.startsWith(u"file:", Qt::CaseInsensitive) ||
            rest.startsWith(u"&#"))
            return true;
    }
    return false;
}

QStringList filesToBringIn(const QList<LocalReference> &references)
{
    QStringList files;
    for (const LocalReference &r : references)
        if (r.embedded && r.outside && r.absolute && !isPage(r.path) &&
            QFileInfo(r.path).isFile() && !files.contains(r.path))
            files << r.path;
    return files;
}

CopyPlan planCopies(const QStringList &sources, const QString &folder)
{
    CopyPlan plan;
    const QDir dir(folder);
    QSet<QString> taken; // names given to other files in this plan
    QHash<QString, QString> placed;
    for (const QString &source : sources) {
        if (placed.contains(source))
            continue;
        const QFileInfo info(source);
        const QString base = info.completeBaseName();
        const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
        for (int n = 1;; ++n) {
            const QString name =
                n == 1 ? info.fileName() : QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix);
            const QString target = dir.absoluteFilePath(name);
            if (taken.contains(name))
                continue;
            const bool exists = QFileInfo::exists(target);
            if (exists && !sameBytes(source, target))
                continue;
            taken.insert(name);
            placed.insert(source, target);
            plan.steps.append({source, target, !exists});
            plan.relativeNames.insert(source, name);
            break;
        }
    }
    return plan;
}

QHash<QString, QString> rewrites(const QList<LocalReference> &references, const CopyPlan &plan)
{
    QHash<QString, QString> out;
    for (const LocalReference &r : references)
        if (plan.relativeNames.contains(r.path))
            out.insert(r.value, plan.relativeNames.value(r.path));
    return out;
}

} // namespace lumipage::pagereferences
