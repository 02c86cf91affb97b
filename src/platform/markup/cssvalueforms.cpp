#include "platform/markup/cssvalueforms.h"

#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace lumipage::css
{

namespace
{
// Keywords any property takes; choosing in an editor replaces them whole.
bool isWideKeyword(const QString &value)
{
    static const QStringList keywords{u"inherit"_s, u"initial"_s, u"unset"_s, u"revert"_s,
                                      u"auto"_s,    u"normal"_s,  u"none"_s};
    return keywords.contains(value.trimmed().toLower());
}

bool isColourProperty(const QString &property)
{
    return property == u"color" || property.endsWith(u"-color");
}

bool isBoxProperty(const QString &property)
{
    return property == u"margin" || property == u"padding" || property == u"border-width";
}

bool isLengthProperty(const QString &property)
{
    static const QRegularExpression lengths(
        uR"(^((min-|max-)?(width|height)|(margin|padding)(-(top|right|bottom|left))?|top|right|bottom|left|font-size|line-height|letter-spacing|word-spacing|text-indent|border(-(top|right|bottom|left))?-width|outline-(width|offset)|border(-(top|bottom)-(left|right))?-radius|(row-|column-)?gap)$)"_s);
    return lengths.match(property).hasMatch();
}

// Where the first family of a font-family list ends: its comma outside quotes, or the end;
// `quote` gets the quote the first family is written in, if any.
qsizetype firstComma(const QString &value, QChar *quote)
{
    QChar open;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (!open.isNull()) {
            if (c == u'\\')
                ++i;
            else if (c == open)
                open = QChar();
        } else if (c == u'"' || c == u'\'') {
            open = c;
            if (quote)
                *quote = c;
        } else if (c == u',') {
            return i;
        }
    }
    return value.size();
}

QString hex2(int channel, bool upper)
{
    const QString text = QString::number(channel, 16).rightJustified(2, u'0');
    return upper ? text.toUpper() : text;
}
} // namespace

EditorKind editorKind(const QString &property, const QString &value, bool attribute)
{
    const QString name = property.trimmed().toLower();
    const QString text = value.trimmed();
    if (name == u"font-family" && !attribute)
        return EditorKind::FontFamily;
    if (isColourProperty(name)) {
        const bool one = text.isEmpty() || isWideKeyword(text) || colourOf(text) ||
                         text.compare(u"currentcolor", Qt::CaseInsensitive) == 0;
        return one ? EditorKind::Colour : EditorKind::Text;
    }
    if (isBoxProperty(name) && !attribute && boxSides(text))
        return EditorKind::Box;
    if (isLengthProperty(name) && !attribute)
        return text.isEmpty() || isWideKeyword(text) || lengthOf(text) ? EditorKind::Length
                                                                       : EditorKind::Text;
    return EditorKind::Text;
}

std::optional<Color> colourOf(const QString &value)
{
    const Sheet sheet(value);
    const std::optional<Color> colour = parseColor(sheet, sheet.parseComponentValueList());
    if (!colour || colour->current)
        return std::nullopt;
    return colour;
}

QString colourText(int red, int green, int blue, int alpha, const QString &value)
{
    const QString text = value.trimmed();
    const QString lower = text.toLower();
    const bool upper = text.startsWith(u'#') && text != lower;
    if (text.startsWith(u'#') && (text.size() == 5 || text.size() == 9)) // #rgba, #rrggbbaa
        return u'#' + hex2(red, upper) + hex2(green, upper) + hex2(blue, upper) +
               hex2(alpha, upper);
    if (lower.startsWith(u"rgb") || alpha < 255) {
        const QString channels = u"%1, %2, %3"_s.arg(red).arg(green).arg(blue);
        if (alpha < 255)
            return u"rgba(%1, %2)"_s.arg(channels,
                                         QString::number(std::round(alpha / 2.55) / 100, 'g', 3));
        return u"rgb(%1)"_s.arg(channels);
    }
    const bool shortForm = text.startsWith(u'#') && text.size() == 4;
    if (shortForm && red % 17 == 0 && green % 17 == 0 && blue % 17 == 0) {
        const QString digits = QString::number(red / 17, 16) + QString::number(green / 17, 16) +
                               QString::number(blue / 17, 16);
        return u'#' + (upper ? digits.toUpper() : digits);
    }
    return u'#' + hex2(red, upper) + hex2(green, upper) + hex2(blue, upper);
}

std::optional<Length> lengthOf(const QString &value)
{
    static const QRegularExpression length(uR"(^([+-]?(?:\d+\.?\d*|\.\d+))(px|em|rem|%|pt)?$)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = length.match(value.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const double number = match.captured(1).toDouble();
    if (match.captured(2).isEmpty() && number != 0)
        return std::nullopt; // a bare number is not a length (line-height: 1.5)
    return Length{number, match.captured(2).isEmpty() ? u"px"_s : match.captured(2).toLower()};
}

QString lengthText(double number, const QString &unit)
{
    return QString::number(number, 'g', 10) + unit;
}

QStringList lengthUnits()
{
    return {u"px"_s, u"em"_s, u"rem"_s, u"%"_s, u"pt"_s};
}

QStringList genericFamilies()
{
    return {u"serif"_s, u"sans-serif"_s, u"monospace"_s, u"cursive"_s, u"fantasy"_s};
}

QString firstFamily(const QString &value)
{
    const QString first = value.left(firstComma(value, nullptr)).trimmed();
    if (first.size() < 2 || (first[0] != u'"' && first[0] != u'\'') || first.back() != first[0])
        return first.simplified();
    QString name;
    for (qsizetype i = 1; i + 1 < first.size(); ++i) {
        if (first[i] == u'\\' && i + 2 < first.size())
            ++i;
        name += first[i];
    }
    return name;
}

QString fontFamilyText(const QString &family, const QString &value)
{
    QChar authorQuote = u'"';
    const qsizetype comma = firstComma(value, &authorQuote);
    // A single identifier and the generic families go bare; anything else is quoted.
    static const QRegularExpression plain(uR"(^-?[A-Za-z_][A-Za-z0-9_-]*$)"_s);
    QString name = family;
    if (!genericFamilies().contains(family) && !plain.match(family).hasMatch()) {
        name.replace(u"\\"_s, u"\\\\"_s).replace(authorQuote, u"\\"_s + authorQuote);
        name = authorQuote + name + authorQuote;
    }
    return name + value.mid(comma);
}

std::optional<BoxSides> boxSides(const QString &value)
{
    static const QStringList wide{u"inherit"_s, u"initial"_s, u"unset"_s, u"revert"_s,
                                  u"revert-layer"_s};
    const QString text = value.trimmed();
    if (text.isEmpty() || wide.contains(text.toLower()) ||
        text.contains(u"var(", Qt::CaseInsensitive))
        return std::nullopt;
    // The values at the top level: white space inside brackets (calc(1px + 2px)) is theirs.
    QStringList parts;
    QString part;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u',' || c == u'/' || c == u'!' || c == u'"' || c == u'\'' || c == u';')
            return std::nullopt;
        if (c == u'(')
            ++depth;
        else if (c == u')' && --depth < 0)
            return std::nullopt;
        if (c.isSpace() && depth == 0) {
            if (!part.isEmpty())
                parts.append(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.isEmpty())
        parts.append(part);
    if (depth != 0 || parts.isEmpty() || parts.size() > 4)
        return std::nullopt;
    // One value: all four; two: vertical, horizontal; three: top, horizontal, bottom.
    const QString top = parts[0];
    const QString right = parts.value(1, top);
    const QString bottom = parts.value(2, top);
    const QString left = parts.value(3, right);
    return BoxSides{top, right, bottom, left};
}

QString boxText(const BoxSides &sides)
{
    QStringList values;
    for (const QString &side : sides) {
        if (side.trimmed().isEmpty())
            return {};
        values.append(side.trimmed());
    }
    if (values[3] == values[1]) {
        values.removeLast();
        if (values[2] == values[0]) {
            values.removeLast();
            if (values[1] == values[0])
                values.removeLast();
        }
    }
    return values.join(u' ');
}

} // namespace lumipage::css
