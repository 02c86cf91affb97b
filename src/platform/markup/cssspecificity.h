#pragma once

#include <QStringView>

#include <compare>

namespace lumipage::css
{

// How specific a selector is: ids, then classes, attributes and pseudo-classes, then
// element names and pseudo-elements. Compared in that order.
struct Specificity {
    int ids = 0;
    int classes = 0;
    int elements = 0;
    auto operator<=>(const Specificity &) const = default;
};

// The specificity of one selector (no commas at the top level); :is(), :not() and :has()
// count their most specific argument, :where() nothing.
Specificity specificity(QStringView selector);

} // namespace lumipage::css
