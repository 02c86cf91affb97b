#pragma once

#include "platform/markup/cssparser.h"

#include <optional>
#include <utility>

namespace lumipage::css
{

// A colour as its channels between 0 and 1 (red, green and blue may lie outside when the
// author wrote so), or the `currentColor` keyword.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    bool current = false;
};

// The colour `values` (of `sheet`) write: a keyword, #rgb, #rgba, #rrggbb, #rrggbbaa,
// rgb(), rgba(), hsl() or hsla(); nullopt when they write none.
std::optional<Color> parseColor(const Sheet &sheet, const QList<ComponentValue> &values);

// The (a, b) of an `an+b` argument (`:nth-child(2n+1)`, `odd`); nullopt when invalid.
std::optional<std::pair<int, int>> anPlusB(const Sheet &sheet, const QList<ComponentValue> &values);

} // namespace lumipage::css
