#include "platform/effects/effectspage.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace lumipage
{

namespace
{

// [start, end) ranges of comments and of the content of script and style elements:
// markup-looking text there is not markup.
QList<QPair<qsizetype, qsizetype>> opaqueRanges(const QString &html)
{
    static const QRegularExpression re(
        QStringLiteral("<!--.*?(?:-->|$)|<(script|style)\\b[^>]*>.*?(?:</\\1\\s*>|$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QList<QPair<qsizetype, qsizetype>> ranges;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        qsizetype start = m.capturedStart();
        if (m.capturedLength(1)) // a script or style: its own tag is markup
            start = html.indexOf(u'>', start) + 1;
        ranges.append({start, m.capturedEnd()});
    }
    return ranges;
}

// Whether `pos` lies in one of `ranges` (sorted, not overlapping).
bool inside(const QList<QPair<qsizetype, qsizetype>> &ranges, qsizetype pos)
{
    auto it = std::upper_bound(ranges.cbegin(), ranges.cend(), pos,
                               [](qsizetype p, const auto &r) { return p < r.first; });
    return it != ranges.cbegin() && pos < std::prev(it)->second;
}

// Line numbers of positions in a page, counted once (LF, or CR in a page without LF).
class LineIndex
{
public:
    explicit LineIndex(const QString &html)
    {
        const QChar end = html.contains(u'\n') ? u'\n' : u'\r';
        for (qsizetype i = html.indexOf(end); i >= 0; i = html.indexOf(end, i + 1))
            m_ends.append(i);
    }
    int lineAt(qsizetype pos) const
    {
        return 1 + int(std::lower_bound(m_ends.cbegin(), m_ends.cend(), pos) - m_ends.cbegin());
    }

private:
    QList<qsizetype> m_ends;
};

QString decodeEntities(const QString &value)
{
    if (!value.contains(u'&'))
        return value;
    static const QRegularExpression re(
        QStringLiteral("&(#x[0-9a-f]+|#[0-9]+|quot|amp|lt|gt|apos|nbsp);"),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    for (auto it = re.globalMatch(value); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(value).mid(last, m.capturedStart() - last);
        const QString e = m.captured(1).toLower();
        if (e.startsWith(QLatin1String("#x")))
            out += QChar::fromUcs4(e.mid(2).toUInt(nullptr, 16));
        else if (e.startsWith(u'#'))
            out += QChar::fromUcs4(e.mid(1).toUInt());
        else
            out += e == QLatin1String("quot")   ? QStringLiteral("\"")
                   : e == QLatin1String("amp")  ? QStringLiteral("&")
                   : e == QLatin1String("lt")   ? QStringLiteral("<")
                   : e == QLatin1String("gt")   ? QStringLiteral(">")
                   : e == QLatin1String("apos") ? QStringLiteral("'")
                                                : QString(QChar(0xa0));
        last = m.capturedEnd();
    }
    return out + value.mid(last);
}

struct Attribute {
    QString name; // lower case
    QString value;
};

QList<Attribute> attributes(const QString &tagText)
{
    static const QRegularExpression re(
        QStringLiteral("([^\\s=/>\"']+)(?:\\s*=\\s*(\"[^\"]*\"|'[^']*'|[^\\s>]+))?"));
    QList<Attribute> list;
    for (auto it = re.globalMatch(tagText); it.hasNext();) {
        const auto m = it.next();
        QString v = m.captured(2);
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        list.append({m.captured(1).toLower(), decodeEntities(v)});
    }
    return list;
}

bool isVbscript(const QList<Attribute> &attrs)
{
    for (const Attribute &a : attrs)
        if ((a.name == QLatin1String("type") || a.name == QLatin1String("language")) &&
            a.value.trimmed().contains(QLatin1String("vbscript"), Qt::CaseInsensitive))
            return true;
    return false;
}

// Script text with every character past ASCII written as \uXXXX (valid in strings,
// regular expressions, identifiers and comments alike), so that a copy written in any
// page encoding keeps it intact.
QString asciiScript(const QString &script)
{
    QString out;
    out.reserve(script.size());
    for (const QChar c : script) {
        if (c.unicode() < 0x80)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace

QList<vbs::ScriptBlock> vbscriptBlocks(const QString &html)
{
    static const QRegularExpression re(QStringLiteral("<script\\b([^>]*)>(.*?)</script\\s*>"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QList<QPair<qsizetype, qsizetype>> comments;
    for (auto it = comment.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        comments.append({m.capturedStart(), m.capturedEnd()});
    }
    const LineIndex lines(html);
    QList<vbs::ScriptBlock> blocks;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (inside(comments, m.capturedStart()) || !isVbscript(attributes(m.captured(1))))
            continue;
        QString text = m.captured(2);
        // The old way of hiding a script from browsers that do not know the element.
        static const QRegularExpression hidden(QStringLiteral("^\\s*<!--|-->\\s*$"));
        text.replace(hidden, QString());
        blocks.append({text, lines.lineAt(m.capturedStart(2))});
    }
    return blocks;
}

QList<vbs::InlineHandler> vbscriptHandlers(const QString &html, const QStringList &procedures)
{
    static const QRegularExpression tag(QStringLiteral("<[a-zA-Z][^\\s/>]*(\\s[^>]*)?>"));
    static const QRegularExpression call(QStringLiteral("^\\s*(?:call\\s+)?([A-Za-z_]\\w*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto opaque = opaqueRanges(html);
    const LineIndex lines(html);
    QList<vbs::InlineHandler> handlers;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.capturedLength(1) || inside(opaque, m.capturedStart()))
            continue;
        const QList<Attribute> attrs = attributes(m.captured(1));
        const bool vbscript = isVbscript(attrs);
        for (const Attribute &a : attrs) {
            if (!a.name.startsWith(QLatin1String("on")) || a.value.trimmed().isEmpty())
                continue;
            const auto c = call.match(a.value);
            if (vbscript || (c.hasMatch() && procedures.contains(c.captured(1).toLower())))
                handlers.append({a.name, a.value, lines.lineAt(m.capturedStart())});
        }
    }
    return handlers;
}

bool pageUsesEffects(const QString &html)
{
    static const QRegularExpression re(QStringLiteral("filter\\s*:[^;\"'}>]*\\(|vbscript"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(html).hasMatch();
}

QString effectsScript(const QString &program, RuntimeHandle handle)
{
    // The runtime's files fill in `F` (filters) and `$` (the translated scripts' helpers)
    // of one closure, in the order they must run.
    static const QString runtime = [] {
        QString all =
            QStringLiteral("(function (program) {\n'use strict';\nconst F = {}, $ = {};\n");
        for (const char *part : {"filters", "transitions", "wave", "vbs", "vbsdom"}) {
            QFile f(QStringLiteral(":/lumipage/platform/effects/runtime/%1.js")
                        .arg(QLatin1String(part)));
            if (f.open(QIODevice::ReadOnly))
                all += QString::fromUtf8(f.readAll()) + u'\n';
        }
        // Inline in a page: nothing in it may end the script element.
        all.replace(QLatin1String("</"), QLatin1String("<\\/"));
        return all;
    }();
    const QString publish =
        handle == RuntimeHandle::Published
            ? QStringLiteral("try { Object.defineProperty(window, '__lumipageEffects', "
                             "{ value: Object.freeze({ filters: F, vbs: $ }) }); } catch (e) {}\n")
            : QString();
    return runtime + publish + QStringLiteral("program($);\n})(") + program +
           QStringLiteral(");\n");
}

PageTransform effectsTransform(RuntimeHandle handle)
{
    return [handle](const QString &html) {
        const EffectsPage page = pageWithEffects(html, handle);
        TransformedPage shown{page.html, {}};
        for (const vbs::Problem &problem : page.problems)
            shown.leftOut.append({problem.line, problem.message});
        return shown;
    };
}

EffectsPage pageWithEffects(const QString &html, RuntimeHandle handle)
{
    EffectsPage page{html, {}};
    if (!pageUsesEffects(html))
        return page;
    const QList<vbs::ScriptBlock> blocks = vbscriptBlocks(html);
    const vbs::Translation t =
        vbs::translate(blocks, vbscriptHandlers(html, vbs::procedureNames(blocks)));
    page.problems = t.problems;
    const QString added = QStringLiteral("<script data-lumipage-runtime>\n") +
                          asciiScript(effectsScript(t.script, handle)) +
                          QStringLiteral("</script>");
    // At the end of the head (without one, before the body), so that procedures exist
    // before any content runs, and the page's <META charset> stays near its start where
    // browsers look for it.
    const auto opaque = opaqueRanges(html);
    qsizetype at = 0;
    for (const char *pattern : {"</head\\s*>", "<body\\b", "<html\\b[^>]*>"}) {
        const QRegularExpression re(QLatin1String(pattern),
                                    QRegularExpression::CaseInsensitiveOption);
        qsizetype found = -1;
        for (auto it = re.globalMatch(html); it.hasNext() && found < 0;) {
            const auto m = it.next();
            if (!inside(opaque, m.capturedStart()))
                found = pattern[1] == 'h' ? m.capturedEnd() : m.capturedStart();
        }
        if (found >= 0) {
            at = found;
            break;
        }
    }
    page.html.insert(at, added);
    return page;
}

} // namespace lumipage
