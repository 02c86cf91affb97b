#include "styles/stylecascade.h"

#include "platform/markup/cssedits.h"
#include "platform/markup/cssspecificity.h"

#include <QSet>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <tuple>

using namespace Qt::StringLiterals;

namespace lumipage::styles
{

namespace
{

// One rule (or the style attribute, or the presentational attributes) that applies to an
// element, with what decides its place in the cascade.
struct Group {
    QList<StyleRow> rows;
    bool inlineStyle = false;
    css::Specificity specificity;
    int order = -1; // the rule's place in the page; presentational attributes come first
};

QString strippedSelector(const QString &s)
{
    QString out;
    for (const QChar c : s)
        if (!c.isSpace())
            out += c == u'\'' ? u'"' : c.toLower();
    return out;
}

QString elementLabel(const QVariantMap &el)
{
    QString label = el[u"tag"_s].toString();
    if (const QString id = el[u"id"_s].toString(); !id.isEmpty())
        label += u'#' + id;
    for (const QVariant &c : el[u"classes"_s].toList())
        label += u'.' + c.toString();
    return label;
}

// A row for each declaration of `block` in `text`.
QList<StyleRow> rowsOf(const QString &text, const QList<css::Declaration> &declarations,
                       const StyleRow &pattern, const std::function<QString(qsizetype)> &place)
{
    QList<StyleRow> rows;
    for (const css::Declaration &d : declarations) {
        StyleRow row = pattern;
        row.property = d.name.toLower();
        row.value = text.sliced(d.valueStart, d.valueEnd - d.valueStart);
        row.important = d.important;
        row.disabled = d.disabled;
        row.place = place(d.start);
        row.declarationStart = d.start;
        rows.append(row);
    }
    return rows;
}

// The property a row sets, for telling which declaration wins.
QString cascadeKey(const StyleRow &row)
{
    if (row.where != Where::Presentational)
        return row.property;
    return row.equivalent.isEmpty() ? u"attribute:"_s + row.property
                                    : row.equivalent.section(u':', 0, 0);
}

// The shorthands that set a longhand ("margin" for "margin-top"), nearest first.
QStringList shorthandsOf(const QString &longhand)
{
    static const QHash<QString, QStringList> table = [] {
        QHash<QString, QStringList> t;
        const QStringList sides = {u"top"_s, u"right"_s, u"bottom"_s, u"left"_s};
        for (const QString &side : sides) {
            t.insert(u"margin-"_s + side, {u"margin"_s});
            t.insert(u"padding-"_s + side, {u"padding"_s});
            for (const QString &part : {u"width"_s, u"style"_s, u"color"_s})
                t.insert(u"border-%1-%2"_s.arg(side, part),
                         {u"border-"_s + side, u"border-"_s + part, u"border"_s});
            t.insert(u"border-"_s + side, {u"border"_s});
        }
        for (const QString &part : {u"width"_s, u"style"_s, u"color"_s})
            t.insert(u"border-"_s + part, {u"border"_s});
        for (const QString &part : {u"color"_s, u"image"_s, u"repeat"_s, u"position"_s, u"size"_s,
                                    u"attachment"_s, u"origin"_s, u"clip"_s})
            t.insert(u"background-"_s + part, {u"background"_s});
        for (const QString &part :
             {u"font-style"_s, u"font-variant"_s, u"font-weight"_s, u"font-stretch"_s,
              u"font-size"_s, u"line-height"_s, u"font-family"_s})
            t.insert(part, {u"font"_s});
        for (const QString &part : {u"type"_s, u"position"_s, u"image"_s})
            t.insert(u"list-style-"_s + part, {u"list-style"_s});
        for (const QString &part : {u"color"_s, u"style"_s, u"width"_s})
            t.insert(u"outline-"_s + part, {u"outline"_s});
        return t;
    }();
    return table.value(longhand);
}

struct ParsedSheet {
    SheetSource source;
    const css::Sheet *sheet = nullptr;
    const css::Block *top = nullptr;
};

} // namespace

const css::Rule *ruleAt(const css::Sheet &sheet, const QList<css::Rule> &rules,
                        const QList<int> &path, const QString &selectorText)
{
    if (path.isEmpty())
        return nullptr;
    const bool last = path.size() == 1;
    const QString wanted = strippedSelector(selectorText);
    for (qsizetype i = path.front(); i < rules.size(); ++i) {
        const css::Rule &r = rules[i];
        if (last) {
            if (!r.at && r.hasBlock &&
                strippedSelector(
                    sheet.text().sliced(r.preludeStart, r.preludeEnd - r.preludeStart)) == wanted)
                return &r;
        } else if (r.at && !r.block.rules.isEmpty()) {
            if (const css::Rule *inner = ruleAt(sheet, r.block.rules, path.mid(1), selectorText))
                return inner;
        }
    }
    return nullptr;
}

QList<StyleRow> cascadeRows(const QVariantMap &answer, const SheetReader &readSheet)
{
    const QVariantList sheets = answer[u"sheets"_s].toList();
    std::vector<std::unique_ptr<ParsedSheet>> parsed(sheets.size());
    std::vector<bool> tried(sheets.size(), false);
    const auto sheetAt = [&](int i) -> ParsedSheet * {
        if (i < 0 || i >= int(sheets.size()))
            return nullptr;
        if (!tried[i]) {
            tried[i] = true;
            if (auto source = readSheet(i, sheets[i].toMap())) {
                auto p = std::make_unique<ParsedSheet>();
                p->source = *source;
                if (!p->source.parsed)
                    p->source.parsed = std::make_shared<const ParsedText>(source->text);
                p->sheet = &p->source.parsed->sheet;
                p->top = &p->source.parsed->top;
                parsed[i] = std::move(p);
            }
        }
        return parsed[i].get();
    };

    QList<StyleRow> rows;
    QSet<QString> decided; // properties the element or a nearer ancestor sets
    const QVariantList chain = answer[u"chain"_s].toList();
    for (qsizetype level = 0; level < chain.size(); ++level) {
        const QVariantMap el = chain[level].toMap();
        const int ordinal = el[u"ordinal"_s].toInt();
        QList<Group> groups;
        if (!el[u"style"_s].isNull()) {
            const QString text = el[u"style"_s].toString();
            const css::Sheet attribute(text);
            StyleRow pattern;
            pattern.selector = u"style 属性"_s;
            pattern.where = Where::Attribute;
            pattern.ordinal = ordinal;
            Group g;
            g.inlineStyle = true;
            g.rows = rowsOf(text, css::attributeBlock(attribute).declarations, pattern,
                            [](qsizetype) { return u"要素の属性"_s; });
            groups.append(g);
        }
        for (const QVariant &m : el[u"rules"_s].toList()) {
            const QVariantMap match = m.toMap();
            const int index = match[u"sheet"_s].toInt();
            ParsedSheet *p = sheetAt(index);
            if (!p)
                continue;
            QList<int> path;
            for (const QVariant &step : match[u"path"_s].toList())
                path.append(step.toInt());
            const css::Rule *rule =
                ruleAt(*p->sheet, p->top->rules, path, match[u"selectorText"_s].toString());
            if (!rule)
                continue;
            const QVariantMap sheet = sheets[index].toMap();
            StyleRow pattern;
            pattern.selector =
                p->source.text.sliced(rule->preludeStart, rule->preludeEnd - rule->preludeStart);
            pattern.sheet = index;
            pattern.path = path;
            pattern.readOnlyReason = p->source.readOnlyReason;
            pattern.styleIndex = sheet[u"styleIndex"_s].toInt();
            pattern.where =
                sheet[u"kind"_s].toString() == u"style" ? Where::StyleElement : Where::Sheet;
            QStringList media;
            for (const QVariant &c : match[u"media"_s].toList())
                media.append(c.toString());
            pattern.media = media.join(u" and "_s);
            Group g;
            g.order = match[u"order"_s].toInt();
            for (const QVariant &s : match[u"selectors"_s].toList())
                g.specificity = std::max(g.specificity, css::specificity(s.toString()));
            const css::Sheet &text = *p->sheet;
            const SheetSource &source = p->source;
            g.rows = rowsOf(source.text, rule->block.declarations, pattern, [&](qsizetype at) {
                const int line = text.lineAt(at);
                return source.label.isEmpty() ? u"ページ内 %1行"_s.arg(source.firstLine + line - 1)
                                              : u"%1:%2"_s.arg(source.label).arg(line);
            });
            groups.append(g);
        }
        Group old;
        old.order = -1;
        const QString tag = el[u"tag"_s].toString();
        for (const QVariant &pair : el[u"presentational"_s].toList()) {
            const QVariantList nameValue = pair.toList();
            StyleRow row;
            row.where = Where::Presentational;
            row.ordinal = ordinal;
            row.property = nameValue.value(0).toString().toLower();
            row.value = nameValue.value(1).toString();
            row.selector = row.property == u"center"
                               ? u"<CENTER>"_s
                               : u"<%1 %2>"_s.arg(tag, row.property.toUpper());
            row.place = u"要素の属性"_s;
            row.equivalent = cssEquivalent(tag, row.property, row.value);
            if (row.property == u"center")
                row.readOnlyReason = u"<CENTER> は要素なので、ここでは変えられません。"_s;
            old.rows.append(row);
        }
        if (!old.rows.isEmpty())
            groups.append(old);

        // The winning rule first; within a rule, the declarations as written.
        std::stable_sort(groups.begin(), groups.end(), [](const Group &a, const Group &b) {
            return std::tie(a.inlineStyle, a.specificity, a.order) >
                   std::tie(b.inlineStyle, b.specificity, b.order);
        });
        // The declaration that wins each property: !important first, then the rule's
        // place, then the later one within the rule.
        QHash<QString, std::pair<const Group *, qsizetype>> winner;
        const auto stronger = [](const StyleRow &a, qsizetype ai, const Group *ag,
                                 const StyleRow &b, qsizetype bi, const Group *bg) {
            return std::tie(a.important, ag->inlineStyle, ag->specificity, ag->order, ai) >
                   std::tie(b.important, bg->inlineStyle, bg->specificity, bg->order, bi);
        };
        for (const Group &g : groups) {
            for (qsizetype i = 0; i < g.rows.size(); ++i) {
                const StyleRow &row = g.rows[i];
                if (row.disabled)
                    continue;
                const QString key = cascadeKey(row);
                auto found = winner.find(key);
                if (found == winner.end() || stronger(row, i, &g, found->first->rows[found->second],
                                                      found->second, found->first))
                    winner[key] = {&g, i};
            }
        }
        const QString label = elementLabel(el);
        QSet<QString> settledHere;
        for (const Group &g : groups) {
            for (qsizetype i = 0; i < g.rows.size(); ++i) {
                StyleRow row = g.rows[i];
                const QString key = cascadeKey(row);
                if (level > 0) {
                    if (!isInherited(key))
                        continue;
                    row.inherited = label;
                }
                const auto found = winner.constFind(key);
                bool beaten = found == winner.cend() || found->first != &g || found->second != i;
                // A stronger shorthand sets the longhand too ("margin" over "margin-top").
                for (const QString &shorthand : shorthandsOf(key)) {
                    const auto other = winner.constFind(shorthand);
                    if (other != winner.cend() &&
                        stronger(other->first->rows[other->second], other->second, other->first,
                                 g.rows[i], i, &g))
                        beaten = true;
                    if (decided.contains(shorthand))
                        beaten = true;
                }
                row.overridden = !row.disabled && (decided.contains(key) || beaten);
                if (!row.disabled)
                    settledHere.insert(key);
                rows.append(row);
            }
        }
        decided.unite(settledHere);
    }
    // A sheet on a server is not ours to read or write: its rules cannot be placed in its
    // text, so instead of them the sheet itself is listed, read only, with the reason.
    static const QStringList servers{u"http"_s, u"https"_s, u"ftp"_s};
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        const QUrl url(sheets[i].toMap()[u"href"_s].toString());
        if (!servers.contains(url.scheme().toLower()))
            continue;
        StyleRow row;
        row.selector = u"（サーバー上のスタイルシート）"_s;
        row.place = url.toString();
        row.where = Where::Sheet;
        row.sheet = int(i);
        row.readOnlyReason = u"サーバー上のスタイルシートなので、ここでは読まず、書き換えもしません"
                             "（そのルールはこの一覧に出ません）。"_s;
        rows.append(row);
    }
    return rows;
}

bool isInherited(const QString &property)
{
    static const QSet<QString> names = {u"color"_s,
                                        u"font"_s,
                                        u"font-family"_s,
                                        u"font-size"_s,
                                        u"font-style"_s,
                                        u"font-variant"_s,
                                        u"font-weight"_s,
                                        u"line-height"_s,
                                        u"letter-spacing"_s,
                                        u"word-spacing"_s,
                                        u"text-align"_s,
                                        u"text-indent"_s,
                                        u"text-transform"_s,
                                        u"white-space"_s,
                                        u"visibility"_s,
                                        u"cursor"_s,
                                        u"list-style"_s,
                                        u"list-style-type"_s,
                                        u"list-style-position"_s,
                                        u"list-style-image"_s,
                                        u"direction"_s,
                                        u"quotes"_s,
                                        u"border-collapse"_s,
                                        u"border-spacing"_s,
                                        u"caption-side"_s,
                                        u"empty-cells"_s,
                                        u"writing-mode"_s};
    return names.contains(property) || property.startsWith(u"--");
}

QString cssEquivalent(const QString &element, const QString &attribute, const QString &value)
{
    const QString a = attribute.toLower();
    const QString tag = element.toUpper();
    if (a == u"center")
        return u"text-align: center"_s;
    if (a == u"color" || a == u"text")
        return u"color: "_s + value;
    if (a == u"bgcolor")
        return u"background-color: "_s + value;
    if (a == u"background")
        return u"background-image: url(\"%1\")"_s.arg(value);
    if (a == u"face")
        return u"font-family: "_s + value;
    if (a == u"size" && tag == u"FONT") {
        static const char *const sizes[] = {"x-small", "small",    "medium",   "large",
                                            "x-large", "xx-large", "xxx-large"};
        const int n = value.trimmed().startsWith(u'+') || value.trimmed().startsWith(u'-')
                          ? 3 + value.trimmed().toInt()
                          : value.trimmed().toInt();
        return u"font-size: "_s + QLatin1StringView(sizes[std::clamp(n, 1, 7) - 1]);
    }
    if (a == u"align")
        return tag == u"IMG" || tag == u"TABLE" ? u"float: "_s + value.toLower()
                                                : u"text-align: "_s + value.toLower();
    if (a == u"valign")
        return u"vertical-align: "_s + value.toLower();
    if (a == u"width" || a == u"height") {
        bool number = false;
        value.toInt(&number);
        return a + u": "_s + value + (number ? u"px"_s : QString());
    }
    if (a == u"border")
        return u"border-width: "_s + value + u"px"_s;
    return {};
}

} // namespace lumipage::styles
