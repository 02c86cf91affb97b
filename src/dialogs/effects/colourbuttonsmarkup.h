#pragma once

#include "dialogs/effects/effectresult.h"

#include <QStringList>

#include <array>

namespace lumipage
{

// The mouse-over colour dialog's fields as they stand when a button is added.
struct ColourButtonFields {
    QString label;
    QString typeface = QStringLiteral("ＭＳ Ｐ明朝");
    QString size = QStringLiteral("9");
    QString firstColour;
    QString overColour;
    QString linkTarget;
};

// What the dialog has collected so far: each button's markup in order, and the values
// its script receives (the colours of the last addition, every link target set).
struct ColourButtonList {
    QStringList buttons;
    QString color1;
    QString color2;
    std::array<QString, 10> linkTargets;
};

// The most buttons one row may hold: the script knows VELD0 to VELD9.
inline constexpr int maxColourButtons = 10;

// The Button element number `index`, calling go_in, go_out and go_link of the script.
QString colourButtonMarkup(int index, const ColourButtonFields &fields);

// Adds the button the fields describe; a link target inside `pageFolder` is named
// relative to it. A problem, with nothing changed, when the row is full.
BuildResult addColourButton(ColourButtonList &list, const ColourButtonFields &fields,
                            const QString &pageFolder);

// Removes every button; the colours and link targets stay as they were.
void removeColourButtons(ColourButtonList &list);

// The buttons joined in order, with the colours and link targets for the script; a
// problem when no button has been added.
EffectResult colourButtonsRequest(const ColourButtonList &list);

} // namespace lumipage
