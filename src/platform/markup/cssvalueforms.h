#pragma once

#include "platform/markup/cssvalues.h"

#include <QString>
#include <QStringList>

#include <array>

#include <optional>

namespace lumipage::css
{

// The editor that fits a declaration's value beside the line where it is typed.
enum class EditorKind { Text, Colour, Length, FontFamily, Box };

// The editor for `property` holding `value`: a colour for a colour property holding one
// colour (or nothing, or a keyword such as inherit); a number with a unit for a length
// property holding one length in px, em, rem, % or pt (or 0, or nothing); the font list
// for font-family; else only the text. A value the editor cannot show whole (two colours,
// "0 auto", 10vh, a var()) keeps to the text, so that choosing never drops a part of it.
// With `attribute` the value is a presentational attribute's and `property` its CSS
// equivalent's: only the colour fits, as such attributes take no CSS units or font lists.
// The box shorthands (margin, padding, border-width) holding one to four values get the
// box diagram, one field a side.
EditorKind editorKind(const QString &property, const QString &value, bool attribute = false);

// The colour `value` writes, when it is exactly one colour (not currentColor).
std::optional<Color> colourOf(const QString &value);

// A colour from the dialog (channels 0–255) written the way the author wrote `value`:
// #rgb stays short where the colour allows, hex with alpha keeps its alpha, upper-case hex
// stays upper case, rgb() stays a function (with commas); anything else becomes #rrggbb
// (rgba() when not opaque).
QString colourText(int red, int green, int blue, int alpha, const QString &value);

// A length: its number and unit ("px", "em", "rem", "%", "pt"; "px" for a bare 0).
struct Length {
    double number = 0;
    QString unit;
};
std::optional<Length> lengthOf(const QString &value);
// "12px", "1.5em", "-0.25rem": the number without trailing zeros.
QString lengthText(double number, const QString &unit);

// The units the length editor offers.
QStringList lengthUnits();
// serif, sans-serif, monospace, cursive, fantasy.
QStringList genericFamilies();

// The first family of a font-family list, unquoted and unescaped.
QString firstFamily(const QString &value);
// `value` (a font-family list) with its first family replaced by `family`, the fallbacks
// kept; the name quoted when it is not a plain identifier list, in the author's quotes.
QString fontFamilyText(const QString &family, const QString &value);

// The four sides of a box shorthand, top, right, bottom, left, as its one to four values
// give them ("0 auto" → 0, auto, 0, auto); nullopt for anything else (a CSS-wide keyword,
// a var() that may stand for several values, a comma, a slash, !important).
using BoxSides = std::array<QString, 4>;
std::optional<BoxSides> boxSides(const QString &value);
// The shortest shorthand for the four sides: "0", "0 auto", "1px 2px 3px", four values
// when left and right differ. Empty when a side is empty.
QString boxText(const BoxSides &sides);

} // namespace lumipage::css
