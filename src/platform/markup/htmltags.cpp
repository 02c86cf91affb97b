#include "platform/markup/htmltags.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace lumipage::htmltags
{

QString StartTag::value(const QString &attributeName) const
{
    for (const Attribute &a : attributes)
        if (a.name == attributeName)
            return a.value.isNull() ? QStringLiteral("") : a.value;
    return {};
}

bool StartTag::has(const QString &attributeName) const
{
    return std::any_of(attributes.cbegin(), attributes.cend(),
                       [&](const Attribute &a) { return a.name == attributeName; });
}

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

bool inside(const QList<QPair<qsizetype, qsizetype>> &ranges, qsizetype pos)
{
    auto it = std::upper_bound(ranges.cbegin(), ranges.cend(), pos,
                               [](qsizetype p, const auto &r) { return p < r.first; });
    return it != ranges.cbegin() && pos < std::prev(it)->second;
}

LineIndex::LineIndex(const QString &html)
{
    const QChar end = html.contains(u'\n') ? u'\n' : u'\r';
    for (qsizetype i = html.indexOf(end); i >= 0; i = html.indexOf(end, i + 1))
        m_ends.append(i);
}

int LineIndex::lineAt(qsizetype pos) const
{
    return 1 + int(std::lower_bound(m_ends.cbegin(), m_ends.cend(), pos) - m_ends.cbegin());
}

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

QList<StartTag> startTags(const QString &html)
{
    static const QRegularExpression tag(QStringLiteral("<([a-zA-Z][^\\s/>]*)(\\s[^>]*)?>"));
    const auto opaque = opaqueRanges(html);
    const LineIndex lines(html);
    QList<StartTag> tags;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (inside(opaque, m.capturedStart()))
            continue;
        tags.append({m.captured(1).toUpper(), attributes(m.captured(2)), m.capturedStart(),
                     lines.lineAt(m.capturedStart())});
    }
    return tags;
}

QString withBaseFolder(const QString &html, const QString &folder)
{
    QString out = html;
    const auto opaque = opaqueRanges(html);
    qsizetype head = -1;
    static const QRegularExpression tags(QStringLiteral("<(base|head|html)\\b[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (auto it = tags.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (inside(opaque, m.capturedStart()))
            continue;
        const QString name = m.captured(1).toLower();
        if (name == QLatin1String("base"))
            return out;
        if (name == QLatin1String("head") || head < 0)
            head = m.capturedEnd();
    }
    QString url = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
    if (!url.endsWith(u'/'))
        url += u'/';
    out.insert(std::max<qsizetype>(head, 0),
               QStringLiteral("<BASE href=\"%1\">").arg(url.toHtmlEscaped()));
    return out;
}

} // namespace lumipage::htmltags
