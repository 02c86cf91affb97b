#include "check/finders/accessibilityfindings.h"

#include "check/finders/parsedpage.h"

#include <QRegularExpression>
#include <QSet>

#include <gumbo.h>

#include <cmath>

namespace lumipage::check
{

namespace
{

const GumboVector &childrenOf(const GumboNode *node)
{
    return node->v.element.children;
}

bool isElement(const GumboNode *node)
{
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

// Calls `visit` on every element under `node` (itself included), in document order;
// `visit` returns false to skip an element's content.
template <typename Visit> void forEachElement(const GumboNode *node, const Visit &visit)
{
    if (!isElement(node) && node->type != GUMBO_NODE_DOCUMENT)
        return;
    if (isElement(node) && !visit(node))
        return;
    const GumboVector &children =
        node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : childrenOf(node);
    for (unsigned k = 0; k < children.length; ++k)
        forEachElement(static_cast<const GumboNode *>(children.data[k]), visit);
}

// The text a reader gets from an element: its text and the alt text of its images.
QString readableText(const GumboNode *node)
{
    if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_CDATA)
        return QString::fromUtf8(node->v.text.text);
    if (!isElement(node))
        return {};
    if (node->v.element.tag == GUMBO_TAG_IMG)
        return attribute(node, "alt");
    QString text;
    const GumboVector &children = childrenOf(node);
    for (unsigned k = 0; k < children.length; ++k)
        text += readableText(static_cast<const GumboNode *>(children.data[k]));
    return text;
}

bool named(const GumboNode *node)
{
    return !attribute(node, "aria-label").trimmed().isEmpty() ||
           hasAttribute(node, "aria-labelledby") || !attribute(node, "title").trimmed().isEmpty();
}

// A form control a visitor fills in or chooses (buttons carry their own text).
bool needsLabel(const GumboNode *node)
{
    switch (node->v.element.tag) {
    case GUMBO_TAG_SELECT:
    case GUMBO_TAG_TEXTAREA:
        return true;
    case GUMBO_TAG_INPUT: {
        static const QSet<QString> labelled = {QStringLiteral("hidden"), QStringLiteral("submit"),
                                               QStringLiteral("reset"), QStringLiteral("button"),
                                               QStringLiteral("image")};
        return !labelled.contains(attribute(node, "type").trimmed().toLower());
    }
    default:
        return false;
    }
}

bool insideLabel(const GumboNode *node)
{
    for (const GumboNode *up = node->parent; up && isElement(up); up = up->parent)
        if (up->v.element.tag == GUMBO_TAG_LABEL)
            return true;
    return false;
}

// A table that holds data: one that is not marked as layout and has at least two rows
// and two columns (its own, not those of tables inside it).
bool holdsDataWithoutHeaders(const GumboNode *table)
{
    const QString role = attribute(table, "role").trimmed().toLower();
    if (role == u"presentation" || role == u"none")
        return false;
    int rows = 0, widest = 0;
    bool headers = false;
    forEachElement(table, [&](const GumboNode *node) {
        if (node != table && node->v.element.tag == GUMBO_TAG_TABLE)
            return false;
        if (node->v.element.tag == GUMBO_TAG_TR) {
            ++rows;
            int cells = 0;
            const GumboVector &children = childrenOf(node);
            for (unsigned k = 0; k < children.length; ++k) {
                const auto *cell = static_cast<const GumboNode *>(children.data[k]);
                if (isElement(cell) &&
                    (cell->v.element.tag == GUMBO_TAG_TD || cell->v.element.tag == GUMBO_TAG_TH))
                    ++cells;
            }
            widest = std::max(widest, cells);
        }
        headers = headers || node->v.element.tag == GUMBO_TAG_TH;
        return true;
    });
    return !headers && rows >= 2 && widest >= 2;
}

int headingLevel(const GumboNode *node)
{
    switch (node->v.element.tag) {
    case GUMBO_TAG_H1:
        return 1;
    case GUMBO_TAG_H2:
        return 2;
    case GUMBO_TAG_H3:
        return 3;
    case GUMBO_TAG_H4:
        return 4;
    case GUMBO_TAG_H5:
        return 5;
    case GUMBO_TAG_H6:
        return 6;
    default:
        return 0;
    }
}

double channel(double value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const Rgba &c)
{
    return 0.2126 * channel(c.red) + 0.7152 * channel(c.green) + 0.0722 * channel(c.blue);
}

Rgba over(const Rgba &top, const Rgba &under)
{
    const double a = top.alpha;
    return {top.red * a + under.red * (1 - a), top.green * a + under.green * (1 - a),
            top.blue * a + under.blue * (1 - a), 1};
}

} // namespace

QList<PageFinding> markupAccessibilityFindings(const ParsedPage &page)
{
    QList<PageFinding> out;
    const auto add = [&](const GumboNode *node, const QString &message) {
        const int ordinal = page.ordinalOf(node);
        const CheckedElement &e = page.elements()[size_t(ordinal)];
        out << PageFinding{FindingKind::Accessibility, message, e.line, e.name, ordinal};
    };
    // Labels name their controls by id.
    QSet<QString> labelled;
    forEachElement(page.document(), [&](const GumboNode *node) {
        if (node->v.element.tag == GUMBO_TAG_LABEL && hasAttribute(node, "for"))
            labelled.insert(attribute(node, "for"));
        return true;
    });
    int lastHeading = 0;
    forEachElement(page.document(), [&](const GumboNode *node) {
        if (page.ordinalOf(node) < 0)
            return false; // template contents
        switch (node->v.element.tag) {
        case GUMBO_TAG_HTML:
            if (attribute(node, "lang").trimmed().isEmpty())
                add(node,
                    QStringLiteral("ページの言語（<html> の lang 属性）が指定されていません"));
            break;
        case GUMBO_TAG_IMG:
            if (!hasAttribute(node, "alt"))
                add(node, QStringLiteral("画像に代替テキスト（alt）がありません: %1")
                              .arg(attribute(node, "src")));
            break;
        case GUMBO_TAG_A:
            if (hasAttribute(node, "href") && readableText(node).trimmed().isEmpty() &&
                !named(node))
                add(node,
                    QStringLiteral("リンクに文字がありません: %1").arg(attribute(node, "href")));
            break;
        case GUMBO_TAG_TABLE:
            if (holdsDataWithoutHeaders(node))
                add(node, QStringLiteral("表に見出しのセル（<th>）がありません"));
            break;
        default:
            if (needsLabel(node) && !insideLabel(node) && !named(node) &&
                !(hasAttribute(node, "id") && labelled.contains(attribute(node, "id"))))
                add(node, QStringLiteral("入力欄にラベル（<label>）がありません"));
            if (const int level = headingLevel(node)) {
                if (lastHeading > 0 && level > lastHeading + 1)
                    add(node, QStringLiteral("見出しのレベルが飛んでいます（h%1 の次に h%2）")
                                  .arg(lastHeading)
                                  .arg(level));
                lastHeading = level;
            }
        }
        return true;
    });
    return out;
}

std::optional<Rgba> cssColour(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"transparent")
        return Rgba{0, 0, 0, 0};
    static const QRegularExpression form(QStringLiteral(
        R"(^rgba?\(\s*([\d.]+)[\s,]+([\d.]+)[\s,]+([\d.]+)\s*(?:[,/]\s*([\d.]+)(%?))?\s*\)$)"));
    const QRegularExpressionMatch m = form.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    Rgba c{m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), 1};
    if (m.hasCaptured(4) && !m.captured(4).isEmpty())
        c.alpha = m.captured(4).toDouble() / (m.captured(5).isEmpty() ? 1.0 : 100.0);
    return c;
}

double contrastRatio(const Rgba &colour, const Rgba &background)
{
    const Rgba behind = over(background, Rgba{255, 255, 255, 1});
    const double a = luminance(over(colour, behind));
    const double b = luminance(behind);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double requiredContrast(double fontSize, int fontWeight)
{
    const bool large = fontSize >= 24 || (fontSize >= 18.66 && fontWeight >= 700);
    return large ? 3.0 : 4.5;
}

QList<PageFinding> contrastFindings(const ParsedPage &page, const QList<TextColours> &looks)
{
    QList<PageFinding> out;
    for (const TextColours &look : looks) {
        const std::optional<Rgba> colour = cssColour(look.colour);
        const std::optional<Rgba> background = cssColour(look.background);
        if (!colour || !background)
            continue;
        const double ratio = contrastRatio(*colour, *background);
        const double needed = requiredContrast(look.fontSize, look.fontWeight);
        if (ratio >= needed)
            continue;
        const QString message =
            QStringLiteral("文字と背景のコントラストが足りません（%1:1、%2:1 以上が必要です）")
                .arg(QString::number(std::floor(ratio * 100) / 100, 'f', 2),
                     QString::number(needed));
        for (const int ordinal : look.elements) {
            const bool known = ordinal >= 0 && size_t(ordinal) < page.elements().size();
            const CheckedElement e = known ? page.elements()[size_t(ordinal)] : CheckedElement{};
            out << PageFinding{FindingKind::Accessibility, message, e.line, e.name, ordinal};
        }
    }
    return out;
}

} // namespace lumipage::check
