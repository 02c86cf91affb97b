#include "platform/effects/effectspage.h"

#include "platform/markup/htmltags.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace lumipage
{

namespace
{

using htmltags::Attribute;
using htmltags::attributes;
using htmltags::inside;
using htmltags::LineIndex;
using htmltags::opaqueRanges;

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

QString effectsScript(const QString &program, RuntimeHandle handle, Transitions transitions)
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
    // Every transition held at its end: one that starts finishes at once.
    const QString ended =
        transitions == Transitions::Ended ? QStringLiteral("F.seek(1);\n") : QString();
    return runtime + publish + ended + QStringLiteral("program($);\n})(") + program +
           QStringLiteral(");\n");
}

PageTransform effectsTransform(RuntimeHandle handle, Transitions transitions)
{
    return [handle, transitions](const QString &html) {
        const EffectsPage page = pageWithEffects(html, handle, transitions);
        TransformedPage shown{page.html, {}};
        for (const vbs::Problem &problem : page.problems)
            shown.leftOut.append({problem.line, problem.message});
        return shown;
    };
}

EffectsPage pageWithEffects(const QString &html, RuntimeHandle handle, Transitions transitions)
{
    EffectsPage page{html, {}};
    if (!pageUsesEffects(html))
        return page;
    const QList<vbs::ScriptBlock> blocks = vbscriptBlocks(html);
    const vbs::Translation t =
        vbs::translate(blocks, vbscriptHandlers(html, vbs::procedureNames(blocks)));
    page.problems = t.problems;
    const QString added = QStringLiteral("<script data-lumipage-runtime>\n") +
                          asciiScript(effectsScript(t.script, handle, transitions)) +
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
