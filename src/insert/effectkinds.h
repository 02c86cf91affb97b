#pragma once

#include "fragments/dialogresult.h"

#include <QString>

#include <span>

namespace lumipage
{

// A placeholder of a script template and the request's value that replaces it.
struct Placeholder {
    const char *text;
    QString EffectRequest::*value;
};

// What a page must not hold for an effect's script to be merged into it.
enum class ScriptRule {
    None,            // the merge always goes ahead
    RefusesOnOnload, // a page that mentions "window_onload()" refuses the merge
};

// One entry of the effects list `Combo2`, in list order: its name in the list, the effect
// it inserts (none for the read-me entry), the script template merged behind the element
// ("" for none), its placeholders in the order they are replaced, whether "[LINK0]" …
// "[LINK9]" take the request's link targets after them, what refuses the merge, and
// whether the list refuses the effect on a page that already holds a script.
struct EffectKindRow {
    const char *listName;
    EffectKind kind;
    const char *templateFile;
    std::span<const Placeholder> placeholders;
    bool linkPlaceholders;
    ScriptRule scriptRule;
    bool oneScriptPerPage;
};

// The effects list, in list order. The one table of effects: the list, the script merge,
// the preview and the checks all read it.
std::span<const EffectKindRow> effectKinds();
// The row of `kind`; null for EffectKind::None.
const EffectKindRow *effectKindRow(EffectKind kind);
// The row whose list name is `listName`; null when none is.
const EffectKindRow *effectKindRow(const QString &listName);

} // namespace lumipage
