#pragma once

#include <QString>

namespace lumipage
{

// The values shared for the whole run. Owned by the insertion controller; the
// main window's controllers reach them through it. What one dialog hands to the script
// merge travels in its EffectRequest instead.
struct SharedValues {
    QString background_attr; // what replaced "<BODY" for the background image
};

} // namespace lumipage
