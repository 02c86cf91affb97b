#pragma once

#include <QString>

namespace lumipage
{

// The values shared for the whole run. Owned by the insertion controller; the
// main window's controllers reach them through it. What one dialog hands to the script
// merge travels in its EffectRequest instead.
struct SharedValues {
    QString insert_html;     // the last fragment pasted at the caret; never cleared
    qint16 effect_code = 0;  // the pending effect: 0 none, 10 … 80
    QString background_attr; // what replaced "<BODY" for the background image
    QString bg_properties;   // "bgProperties=fixed" or "bgProperties=none"
};

} // namespace lumipage
