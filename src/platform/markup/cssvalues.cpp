#include "platform/markup/cssvalues.h"

#include <QHash>
#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace lumipage::css
{

namespace
{

// The named colours browsers know, as 0xRRGGBB.
const QHash<QString, quint32> &namedColours()
{
    static const QHash<QString, quint32> table = {{u"aliceblue"_s, 0xF0F8FF},
                                                  {u"antiquewhite"_s, 0xFAEBD7},
                                                  {u"aqua"_s, 0x00FFFF},
                                                  {u"aquamarine"_s, 0x7FFFD4},
                                                  {u"azure"_s, 0xF0FFFF},
                                                  {u"beige"_s, 0xF5F5DC},
                                                  {u"bisque"_s, 0xFFE4C4},
                                                  {u"black"_s, 0x000000},
                                                  {u"blanchedalmond"_s, 0xFFEBCD},
                                                  {u"blue"_s, 0x0000FF},
                                                  {u"blueviolet"_s, 0x8A2BE2},
                                                  {u"brown"_s, 0xA52A2A},
                                                  {u"burlywood"_s, 0xDEB887},
                                                  {u"cadetblue"_s, 0x5F9EA0},
                                                  {u"chartreuse"_s, 0x7FFF00},
                                                  {u"chocolate"_s, 0xD2691E},
                                                  {u"coral"_s, 0xFF7F50},
                                                  {u"cornflowerblue"_s, 0x6495ED},
                                                  {u"cornsilk"_s, 0xFFF8DC},
                                                  {u"crimson"_s, 0xDC143C},
                                                  {u"cyan"_s, 0x00FFFF},
                                                  {u"darkblue"_s, 0x00008B},
                                                  {u"darkcyan"_s, 0x008B8B},
                                                  {u"darkgoldenrod"_s, 0xB8860B},
                                                  {u"darkgray"_s, 0xA9A9A9},
                                                  {u"darkgreen"_s, 0x006400},
                                                  {u"darkgrey"_s, 0xA9A9A9},
                                                  {u"darkkhaki"_s, 0xBDB76B},
                                                  {u"darkmagenta"_s, 0x8B008B},
                                                  {u"darkolivegreen"_s, 0x556B2F},
                                                  {u"darkorange"_s, 0xFF8C00},
                                                  {u"darkorchid"_s, 0x9932CC},
                                                  {u"darkred"_s, 0x8B0000},
                                                  {u"darksalmon"_s, 0xE9967A},
                                                  {u"darkseagreen"_s, 0x8FBC8F},
                                                  {u"darkslateblue"_s, 0x483D8B},
                                                  {u"darkslategray"_s, 0x2F4F4F},
                                                  {u"darkslategrey"_s, 0x2F4F4F},
                                                  {u"darkturquoise"_s, 0x00CED1},
                                                  {u"darkviolet"_s, 0x9400D3},
                                                  {u"deeppink"_s, 0xFF1493},
                                                  {u"deepskyblue"_s, 0x00BFFF},
                                                  {u"dimgray"_s, 0x696969},
                                                  {u"dimgrey"_s, 0x696969},
                                                  {u"dodgerblue"_s, 0x1E90FF},
                                                  {u"firebrick"_s, 0xB22222},
                                                  {u"floralwhite"_s, 0xFFFAF0},
                                                  {u"forestgreen"_s, 0x228B22},
                                                  {u"fuchsia"_s, 0xFF00FF},
                                                  {u"gainsboro"_s, 0xDCDCDC},
                                                  {u"ghostwhite"_s, 0xF8F8FF},
                                                  {u"gold"_s, 0xFFD700},
                                                  {u"goldenrod"_s, 0xDAA520},
                                                  {u"gray"_s, 0x808080},
                                                  {u"green"_s, 0x008000},
                                                  {u"greenyellow"_s, 0xADFF2F},
                                                  {u"grey"_s, 0x808080},
                                                  {u"honeydew"_s, 0xF0FFF0},
                                                  {u"hotpink"_s, 0xFF69B4},
                                                  {u"indianred"_s, 0xCD5C5C},
                                                  {u"indigo"_s, 0x4B0082},
                                                  {u"ivory"_s, 0xFFFFF0},
                                                  {u"khaki"_s, 0xF0E68C},
                                                  {u"lavender"_s, 0xE6E6FA},
                                                  {u"lavenderblush"_s, 0xFFF0F5},
                                                  {u"lawngreen"_s, 0x7CFC00},
                                                  {u"lemonchiffon"_s, 0xFFFACD},
                                                  {u"lightblue"_s, 0xADD8E6},
                                                  {u"lightcoral"_s, 0xF08080},
                                                  {u"lightcyan"_s, 0xE0FFFF},
                                                  {u"lightgoldenrodyellow"_s, 0xFAFAD2},
                                                  {u"lightgray"_s, 0xD3D3D3},
                                                  {u"lightgreen"_s, 0x90EE90},
                                                  {u"lightgrey"_s, 0xD3D3D3},
                                                  {u"lightpink"_s, 0xFFB6C1},
                                                  {u"lightsalmon"_s, 0xFFA07A},
                                                  {u"lightseagreen"_s, 0x20B2AA},
                                                  {u"lightskyblue"_s, 0x87CEFA},
                                                  {u"lightslategray"_s, 0x778899},
                                                  {u"lightslategrey"_s, 0x778899},
                                                  {u"lightsteelblue"_s, 0xB0C4DE},
                                                  {u"lightyellow"_s, 0xFFFFE0},
                                                  {u"lime"_s, 0x00FF00},
                                                  {u"limegreen"_s, 0x32CD32},
                                                  {u"linen"_s, 0xFAF0E6},
                                                  {u"magenta"_s, 0xFF00FF},
                                                  {u"maroon"_s, 0x800000},
                                                  {u"mediumaquamarine"_s, 0x66CDAA},
                                                  {u"mediumblue"_s, 0x0000CD},
                                                  {u"mediumorchid"_s, 0xBA55D3},
                                                  {u"mediumpurple"_s, 0x9370DB},
                                                  {u"mediumseagreen"_s, 0x3CB371},
                                                  {u"mediumslateblue"_s, 0x7B68EE},
                                                  {u"mediumspringgreen"_s, 0x00FA9A},
                                                  {u"mediumturquoise"_s, 0x48D1CC},
                                                  {u"mediumvioletred"_s, 0xC71585},
                                                  {u"midnightblue"_s, 0x191970},
                                                  {u"mintcream"_s, 0xF5FFFA},
                                                  {u"mistyrose"_s, 0xFFE4E1},
                                                  {u"moccasin"_s, 0xFFE4B5},
                                                  {u"navajowhite"_s, 0xFFDEAD},
                                                  {u"navy"_s, 0x000080},
                                                  {u"oldlace"_s, 0xFDF5E6},
                                                  {u"olive"_s, 0x808000},
                                                  {u"olivedrab"_s, 0x6B8E23},
                                                  {u"orange"_s, 0xFFA500},
                                                  {u"orangered"_s, 0xFF4500},
                                                  {u"orchid"_s, 0xDA70D6},
                                                  {u"palegoldenrod"_s, 0xEEE8AA},
                                                  {u"palegreen"_s, 0x98FB98},
                                                  {u"paleturquoise"_s, 0xAFEEEE},
                                                  {u"palevioletred"_s, 0xDB7093},
                                                  {u"papayawhip"_s, 0xFFEFD5},
                                                  {u"peachpuff"_s, 0xFFDAB9},
                                                  {u"peru"_s, 0xCD853F},
                                                  {u"pink"_s, 0xFFC0CB},
                                                  {u"plum"_s, 0xDDA0DD},
                                                  {u"powderblue"_s, 0xB0E0E6},
                                                  {u"purple"_s, 0x800080},
                                                  {u"rebeccapurple"_s, 0x663399},
                                                  {u"red"_s, 0xFF0000},
                                                  {u"rosybrown"_s, 0xBC8F8F},
                                                  {u"royalblue"_s, 0x4169E1},
                                                  {u"saddlebrown"_s, 0x8B4513},
                                                  {u"salmon"_s, 0xFA8072},
                                                  {u"sandybrown"_s, 0xF4A460},
                                                  {u"seagreen"_s, 0x2E8B57},
                                                  {u"seashell"_s, 0xFFF5EE},
                                                  {u"sienna"_s, 0xA0522D},
                                                  {u"silver"_s, 0xC0C0C0},
                                                  {u"skyblue"_s, 0x87CEEB},
                                                  {u"slateblue"_s, 0x6A5ACD},
                                                  {u"slategray"_s, 0x708090},
                                                  {u"slategrey"_s, 0x708090},
                                                  {u"snow"_s, 0xFFFAFA},
                                                  {u"springgreen"_s, 0x00FF7F},
                                                  {u"steelblue"_s, 0x4682B4},
                                                  {u"tan"_s, 0xD2B48C},
                                                  {u"teal"_s, 0x008080},
                                                  {u"thistle"_s, 0xD8BFD8},
                                                  {u"tomato"_s, 0xFF6347},
                                                  {u"turquoise"_s, 0x40E0D0},
                                                  {u"violet"_s, 0xEE82EE},
                                                  {u"wheat"_s, 0xF5DEB3},
                                                  {u"white"_s, 0xFFFFFF},
                                                  {u"whitesmoke"_s, 0xF5F5F5},
                                                  {u"yellow"_s, 0xFFFF00},
                                                  {u"yellowgreen"_s, 0x9ACD32}};
    return table;
}

// Keywords compare in ASCII case only: "İ" is not "i".
QString asciiLower(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + 32);
    return out;
}

// The values without white space, each with whether space stood before it.
struct Item {
    const Token *token;
    const ComponentValue *value;
    bool spaced;
};
QList<Item> items(const Sheet &sheet, const QList<ComponentValue> &values)
{
    QList<Item> out;
    bool spaced = false;
    for (const ComponentValue &v : values) {
        const Token &t = sheet.tokens()[v.token];
        if (t.type == TokenType::Whitespace) {
            spaced = true;
            continue;
        }
        out.append({&t, &v, spaced});
        spaced = false;
    }
    return out;
}

// The function's arguments split at commas, each one value; nullopt when one is not.
std::optional<QList<const Token *>> arguments(const Sheet &sheet, const ComponentValue &f)
{
    QList<const Token *> args;
    bool expectValue = true;
    for (const Item &item : items(sheet, f.children)) {
        const bool comma = item.token->type == TokenType::Comma;
        if (comma == expectValue)
            return std::nullopt;
        if (!comma)
            args.append(item.token);
        expectValue = comma;
    }
    if (expectValue)
        return std::nullopt;
    return args;
}

double clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

std::optional<Color> functionColour(const Sheet &sheet, const ComponentValue &f,
                                    const QString &name)
{
    const auto args = arguments(sheet, f);
    const bool withAlpha = name.endsWith(u'a');
    if (!args || args->size() != (withAlpha ? 4 : 3))
        return std::nullopt;
    Color c;
    if (withAlpha) {
        if (args->back()->type != TokenType::Number)
            return std::nullopt;
        c.alpha = clamp01(args->back()->number);
    }
    const Token &a = *(*args)[0];
    const Token &b = *(*args)[1];
    const Token &d = *(*args)[2];
    if (name.startsWith(u"rgb")) {
        const auto integer = [](const Token &t) {
            return t.type == TokenType::Number && t.integer;
        };
        const auto percent = [](const Token &t) { return t.type == TokenType::Percentage; };
        const double scale = integer(a) && integer(b) && integer(d)   ? 255.0
                             : percent(a) && percent(b) && percent(d) ? 100.0
                                                                      : 0.0;
        if (scale == 0)
            return std::nullopt;
        c.red = a.number / scale;
        c.green = b.number / scale;
        c.blue = d.number / scale;
        return c;
    }
    if (a.type != TokenType::Number || b.type != TokenType::Percentage ||
        d.type != TokenType::Percentage)
        return std::nullopt;
    const double h = std::fmod(std::fmod(a.number, 360.0) + 360.0, 360.0) / 360.0;
    const double s = clamp01(b.number / 100.0);
    const double l = clamp01(d.number / 100.0);
    const double m2 = l <= 0.5 ? l * (s + 1) : l + s - l * s;
    const double m1 = l * 2 - m2;
    const auto hue = [&](double t) {
        t = t < 0 ? t + 1 : t > 1 ? t - 1 : t;
        if (t * 6 < 1)
            return m1 + (m2 - m1) * t * 6;
        if (t * 2 < 1)
            return m2;
        if (t * 3 < 2)
            return m1 + (m2 - m1) * (2.0 / 3 - t) * 6;
        return m1;
    };
    c.red = hue(h + 1.0 / 3);
    c.green = hue(h);
    c.blue = hue(h - 1.0 / 3);
    return c;
}

} // namespace

std::optional<Color> parseColor(const Sheet &sheet, const QList<ComponentValue> &values)
{
    const QList<Item> all = items(sheet, values);
    if (all.size() != 1)
        return std::nullopt;
    const Token &t = *all.front().token;
    if (t.type == TokenType::Ident) {
        const QString name = asciiLower(t.value);
        if (name == u"currentcolor")
            return Color{0, 0, 0, 1, true};
        if (name == u"transparent")
            return Color{0, 0, 0, 0};
        const auto found = namedColours().constFind(name);
        if (found == namedColours().constEnd())
            return std::nullopt;
        return Color{((*found >> 16) & 0xFF) / 255.0, ((*found >> 8) & 0xFF) / 255.0,
                     (*found & 0xFF) / 255.0, 1};
    }
    if (t.type == TokenType::Hash) {
        static const QRegularExpression hex(u"^[0-9A-Fa-f]+$"_s);
        const qsizetype n = t.value.size();
        if ((n != 3 && n != 4 && n != 6 && n != 8) || !hex.match(t.value).hasMatch())
            return std::nullopt;
        const int width = n <= 4 ? 1 : 2;
        const auto channel = [&](int i) {
            if (i * width >= n)
                return 1.0;
            const int v = t.value.mid(i * width, width).toInt(nullptr, 16);
            return width == 1 ? v * 17 / 255.0 : v / 255.0;
        };
        return Color{channel(0), channel(1), channel(2), channel(3)};
    }
    if (t.type == TokenType::Function) {
        const QString name = asciiLower(t.value);
        if (name == u"rgb" || name == u"rgba" || name == u"hsl" || name == u"hsla")
            return functionColour(sheet, *all.front().value, name);
    }
    return std::nullopt;
}

std::optional<std::pair<int, int>> anPlusB(const Sheet &sheet, const QList<ComponentValue> &values)
{
    const QList<Item> all = items(sheet, values);
    if (all.isEmpty())
        return std::nullopt;
    const auto repr = [&](const Token &t) {
        return sheet.text().sliced(t.start, t.numberEnd - t.start);
    };
    const auto signless = [&](const Token &t) {
        return t.type == TokenType::Number && t.integer && repr(t).front().isDigit();
    };
    const auto signedInt = [&](const Token &t) {
        return t.type == TokenType::Number && t.integer && !repr(t).front().isDigit();
    };
    // The B part after "n": nothing, a signed integer, or a sign and a signless integer.
    const auto rest = [&](int a, qsizetype i) -> std::optional<std::pair<int, int>> {
        if (i == all.size())
            return std::pair{a, 0};
        const Token &t = *all[i].token;
        if (i + 1 == all.size() && signedInt(t))
            return std::pair{a, int(t.number)};
        if (i + 2 == all.size() && t.type == TokenType::Delim &&
            (t.value == u"+" || t.value == u"-") && signless(*all[i + 1].token))
            return std::pair{
                a, int(t.value == u"-" ? -all[i + 1].token->number : all[i + 1].token->number)};
        return std::nullopt;
    };
    // After "n-": a signless integer, negated.
    const auto dashRest = [&](int a, qsizetype i) -> std::optional<std::pair<int, int>> {
        if (i + 1 == all.size() && signless(*all[i].token))
            return std::pair{a, -int(all[i].token->number)};
        return std::nullopt;
    };
    // "n", "n-", "n-12" once the coefficient is known.
    static const QRegularExpression ndashdigits(u"^n-[0-9]+$"_s);
    const auto fromUnit = [&](int a, const QString &unit,
                              qsizetype next) -> std::optional<std::pair<int, int>> {
        if (unit == u"n")
            return rest(a, next);
        if (unit == u"n-")
            return dashRest(a, next);
        if (ndashdigits.match(unit).hasMatch() && next == all.size())
            return std::pair{a, -unit.mid(2).toInt()};
        return std::nullopt;
    };

    const Token &first = *all.front().token;
    if (first.type == TokenType::Ident && all.size() == 1) {
        const QString name = asciiLower(first.value);
        if (name == u"odd")
            return std::pair{2, 1};
        if (name == u"even")
            return std::pair{2, 0};
    }
    if (first.type == TokenType::Number && first.integer && all.size() == 1)
        return std::pair{0, int(first.number)};
    if (first.type == TokenType::Dimension && first.integer)
        return fromUnit(int(first.number), asciiLower(first.value), 1);
    qsizetype i = 0;
    if (first.type == TokenType::Delim && first.value == u"+" && all.size() > 1 && !all[1].spaced &&
        all[1].token->type == TokenType::Ident && !all[1].token->value.startsWith(u'-'))
        i = 1;
    const Token &ident = *all[i].token;
    if (ident.type != TokenType::Ident)
        return std::nullopt;
    const QString name = asciiLower(ident.value);
    if (name.startsWith(u'-'))
        return fromUnit(-1, name.mid(1), i + 1);
    return fromUnit(1, name, i + 1);
}

} // namespace lumipage::css
