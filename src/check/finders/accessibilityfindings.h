#pragma once

#include "check/finders/pagefinding.h"

#include <QList>
#include <QString>

#include <optional>

namespace lumipage::check
{

class ParsedPage;

// What the markup alone tells: images without alt, links without text, form controls
// without a label, tables without header cells, a page without lang, headings that skip
// a level; in page order.
QList<PageFinding> markupAccessibilityFindings(const ParsedPage &page);

// Text of one look, as the engine computed it: its colour and the colour of the first
// background behind it that is not transparent, as CSS writes them ("rgb(170, 170,
// 170)", "rgba(0, 0, 0, 0.5)"), its size in CSS pixels and weight, and the ordinals of the
// elements whose own text looks so.
struct TextColours {
    QString colour;
    QString background;
    double fontSize = 16;
    int fontWeight = 400;
    QList<int> elements;
};

// A colour as red, green, blue (0–255) and alpha (0–1).
struct Rgba {
    double red = 0, green = 0, blue = 0, alpha = 1;
};
// A computed CSS colour ("rgb(…)", "rgba(…)", "transparent"); nullopt for other forms.
std::optional<Rgba> cssColour(const QString &text);
// The contrast ratio of text in `colour` on `background` (WCAG 2: 1 to 21), each laid
// over what is behind it: the background over white, the text over the background.
double contrastRatio(const Rgba &colour, const Rgba &background);
// The ratio WCAG AA asks for: 3 for large text (24 px, or 18.66 px bold), else 4.5.
double requiredContrast(double fontSize, int fontWeight);

// Each element whose own text falls short of the ratio its size needs.
QList<PageFinding> contrastFindings(const ParsedPage &page, const QList<TextColours> &looks);

} // namespace lumipage::check
