#include "transfer/sitefiles.h"

#include "platform/markup/htmltags.h"
#include "platform/markup/pagereferences.h"
#include "platform/markup/textcodec.h"
#include "transfer/cssreferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

namespace lumipage::sitefiles
{

namespace
{

using pagereferences::hasSuffix;

// Pages and sheets larger than this are sent but not read for the files they name.
constexpr qint64 kLargestRead = 16 << 20;

bool isPage(const QString &path)
{
    return hasSuffix(path, {"htm", "html", "xhtml", "shtml"});
}

QByteArray readSmall(const QString &path)
{
    QFile file(path);
    if (QFileInfo(path).size() > kLargestRead || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The texts of a page's style elements and style attributes.
QStringList pageCss(const QString &html, const QList<htmltags::StartTag> &tags)
{
    static const QRegularExpression styleEnd(QStringLiteral("</style\\s*>"),
                                             QRegularExpression::CaseInsensitiveOption);
    QStringList css;
    for (const htmltags::StartTag &tag : tags) {
        if (tag.has(QStringLiteral("style")))
            css << tag.value(QStringLiteral("style"));
        if (tag.name != QLatin1String("STYLE"))
            continue;
        const qsizetype open = html.indexOf(u'>', tag.start);
        if (open < 0)
            continue;
        const QRegularExpressionMatch close = styleEnd.match(html, open + 1);
        css << html.mid(open + 1,
                        (close.hasMatch() ? close.capturedStart() : html.size()) - open - 1);
    }
    return css;
}

// The picture names an effect's script writes as strings ("NextPicture = \"b.gif\"").
QStringList scriptPictures(const QString &html)
{
    static const QRegularExpression re(
        QStringLiteral("[\"']([^\"'\\s<>]+\\.(?:gif|jpe?g|png|bmp|svg|webp|ico))[\"']"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const auto &[from, to] : htmltags::opaqueRanges(html))
        for (auto it = re.globalMatch(QStringView(html).sliced(from, to - from)); it.hasNext();)
            names << it.next().captured(1);
    return names;
}

QStringList srcsetNames(const QString &value)
{
    QStringList names;
    for (const QString &candidate : value.split(u',', Qt::SkipEmptyParts))
        if (const QString name = candidate.trimmed().section(u' ', 0, 0); !name.isEmpty())
            names << name;
    return names;
}

class Collector
{
public:
    Collector(const QString &root, const Options &options)
        : m_root(QDir::cleanPath(root)), m_options(options)
    {
    }

    QList<SiteFile> run(const QString &pagePath)
    {
        add(QDir::cleanPath(QFileInfo(pagePath).absoluteFilePath()), Kind::Page, QString(),
            QFileInfo(pagePath).fileName(), {});
        return m_files;
    }

private:
    bool inside(const QString &path) const
    {
        return path.startsWith(m_root.endsWith(u'/') ? m_root : m_root + u'/');
    }

    // A name written in a page or sheet, resolved in `folder`; empty for no local file.
    static QString resolve(const QString &name, const QString &folder)
    {
        bool absolute = false;
        const std::optional<QString> path = pagereferences::localPath(name, folder, &absolute);
        if (!path || path->isEmpty())
            return {};
        // A name written with %-escapes names the file with those characters.
        if (!QFileInfo::exists(*path) && name.contains(u'%')) {
            const std::optional<QString> decoded = pagereferences::localPath(
                QUrl::fromPercentEncoding(name.toUtf8()), folder, &absolute);
            if (decoded && QFileInfo::exists(*decoded))
                return *decoded;
        }
        return *path;
    }

    void add(const QString &path, Kind kind, const QString &namedIn, const QString &namedAs,
             const QByteArray &encoding)
    {
        if (path.isEmpty() || m_seen.contains(path))
            return;
        m_seen.insert(path);
        SiteFile file{path, path, kind, State::Present, namedIn, namedAs};
        if (!inside(path))
            file.state = State::Outside;
        else if (!QFileInfo(path).isFile())
            file.state = State::Missing;
        if (file.state != State::Outside)
            file.relative = QDir(m_root).relativeFilePath(path);
        m_files.append(file);
        if (file.state != State::Present)
            return;
        if (kind == Kind::Page)
            readPage(file);
        else if (kind == Kind::Sheet)
            readSheet(file, encoding);
    }

    void addCss(const QString &css, const QString &folder, const QString &namedIn,
                const QByteArray &encoding)
    {
        for (const cssreferences::Reference &r : cssreferences::references(css))
            add(resolve(r.name, folder), r.import ? Kind::Sheet : Kind::Other, namedIn, r.name,
                encoding);
    }

    void readSheet(const SiteFile &sheet, const QByteArray &pageEncoding)
    {
        const QByteArray bytes = readSmall(sheet.path);
        const QByteArray encoding = cssreferences::sheetEncoding(bytes, pageEncoding);
        const auto decoded = textcodec::decode(bytes, encoding);
        if (decoded)
            addCss(decoded->text, QFileInfo(sheet.path).path(), sheet.relative, encoding);
    }

    void readPage(const SiteFile &page)
    {
        const QByteArray bytes = readSmall(page.path);
        const QByteArray encoding = textcodec::detectEncoding(bytes);
        const auto decoded = textcodec::decode(bytes, encoding);
        if (!decoded)
            return;
        const QString &html = decoded->text;
        const QString folder = QFileInfo(page.path).path();
        const QList<htmltags::StartTag> tags = htmltags::startTags(html);
        for (const pagereferences::LocalReference &r :
             pagereferences::localReferences(html, folder)) {
            const QString path = resolve(r.value, folder);
            if (r.element == QLatin1String("BASE"))
                continue;
            if (!r.embedded) { // A and AREA: pages the author chose to publish with it
                if (m_options.linkedPages && isPage(path))
                    add(path, Kind::Page, page.relative, r.value, encoding);
                continue;
            }
            const bool sheet = r.element == QLatin1String("LINK") && hasSuffix(path, {"css"});
            add(path,
                sheet          ? Kind::Sheet
                : isPage(path) ? Kind::Page
                               : Kind::Other,
                page.relative, r.value, encoding);
        }
        for (const htmltags::StartTag &tag : tags)
            if (tag.has(QStringLiteral("srcset")))
                for (const QString &name : srcsetNames(tag.value(QStringLiteral("srcset"))))
                    add(resolve(name, folder), Kind::Other, page.relative, name, encoding);
        for (const QString &css : pageCss(html, tags))
            addCss(css, folder, page.relative, encoding);
        for (const QString &name : scriptPictures(html))
            if (const QString path = resolve(name, folder); QFileInfo(path).isFile())
                add(path, Kind::Other, page.relative, name, encoding);
    }

    QString m_root;
    Options m_options;
    QList<SiteFile> m_files;
    QSet<QString> m_seen;
};

// The file on the disk whose path differs from `path` only in case, or empty.
QString sameButForCase(const QString &path)
{
    QString found = QStringLiteral("/");
    for (const QString &part : path.split(u'/', Qt::SkipEmptyParts)) {
        const QStringList entries =
            QDir(found).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const auto it = std::find_if(entries.begin(), entries.end(), [&](const QString &e) {
            return e.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (it == entries.end())
            return {};
        found = QDir(found).filePath(*it);
    }
    return found;
}

} // namespace

QList<SiteFile> siteFiles(const QString &pagePath, const QString &root, const Options &options)
{
    return Collector(root, options).run(pagePath);
}

QStringList nameWarnings(const QList<SiteFile> &files)
{
    static const QRegularExpression nonAscii(QStringLiteral("[^\\x{0}-\\x{7f}]"));
    QStringList warnings;
    QHash<QString, QString> byLowerCase;
    for (const SiteFile &f : files) {
        if (f.state == State::Outside)
            continue;
        if (f.state == State::Missing) {
            if (const QString onDisk = sameButForCase(f.path); !onDisk.isEmpty())
                warnings << QStringLiteral("「%1」の大文字・小文字がディスク上のファイル（%2）と"
                                           "違います。サーバーでは見つかりません。")
                                .arg(f.relative,
                                     onDisk.section(u'/', -(f.relative.count(u'/') + 1)));
            continue;
        }
        if (f.relative.contains(nonAscii))
            warnings << QStringLiteral("「%1」は名前に英数字以外の文字を含みます。"
                                       "サーバーによっては読めない名前になります。")
                            .arg(f.relative);
        if (f.relative.contains(u' '))
            warnings << QStringLiteral("「%1」は名前に空白を含みます。").arg(f.relative);
        const QString lower = f.relative.toLower();
        if (byLowerCase.contains(lower))
            warnings << QStringLiteral("「%1」と「%2」は大文字・小文字だけが違います。"
                                       "サーバーによっては同じファイルになります。")
                            .arg(byLowerCase.value(lower), f.relative);
        else
            byLowerCase.insert(lower, f.relative);
    }
    return warnings;
}

} // namespace lumipage::sitefiles
