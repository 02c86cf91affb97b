#pragma once

#include "widgets/dialogresult.h"

#include <span>

namespace lumipage
{

class InsertionController;

// One entry of the effects list `Combo2`, in list order: its name in the list, the effect
// it inserts (none for the read-me entry), the script template merged behind the element
// ("" for none), whether the one-script test refuses it on a page that holds a script,
// and the opener of its dialog (none: the read-me is opened instead).
struct EffectKindRow {
    const char *listName;
    EffectKind kind;
    const char *templateFile;
    bool checksScript;
    void (*open)(InsertionController &);
};

// The effects list, in list order. The one table of effects: the list, the script merge,
// the preview and the checks all read it.
std::span<const EffectKindRow> effectKinds();
// The row of `kind`; null for EffectKind::None and unknown values.
const EffectKindRow *effectKindRow(EffectKind kind);

} // namespace lumipage
