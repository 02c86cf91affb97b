#pragma once

#include <QLineEdit>

#include <functional>

namespace lumipage
{

// Draws the id number of an effect element, 0 to 99.
using IdDraw = std::function<int()>;
// The program's draw: a generator seeded from the clock when it is made (at dialog load),
// the integer part of a random number in [0, 1) times 100.
IdDraw clockSeededDraw();

// The display-only id box of the effect dialogs: the number drawn when the dialog loads.
// Tests pass a draw of their own to get exact markup.
class RandomIdField : public QLineEdit
{
    Q_OBJECT
public:
    // `name` is the box's objectName; an empty `draw` uses clockSeededDraw().
    RandomIdField(const QString &name, const IdDraw &draw, QWidget *parent);

    // The id number as the box shows it.
    int number() const;
    // "VELD" followed by the box's text: the element id, and the script's "[VELD ID]".
    QString effectId() const;
};

} // namespace lumipage
