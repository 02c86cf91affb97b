#pragma once

#include "fragments/dialogresult.h"

#include <QString>

#include <optional>
#include <variant>

namespace lumipage
{

// What an effect builder made of its dialog's fields: the request to paste (and merge
// the script for), or a problem to show with the dialog kept open, or nothing to do.
using EffectResult = std::variant<EffectRequest, BuildResult>;

namespace effectfields
{

// The whole transition number 0–23 in `text` (spaces around it allowed), or nothing.
std::optional<int> transitionNumber(const QString &text);

// Shown when a transition number is not a whole number from 0 to 23.
QString transitionProblem();

// The element id of a filter-text block: "VELD" and the drawn number.
QString filterTextId(int idNumber);

// The block of a filter-text effect: a DIV with the id "VELD" and the drawn number,
// styled with `filter` (the filter's name and settings), holding the text to overwrite.
// The script is merged only for the action "あり".
EffectRequest filterTextRequest(int idNumber, const QString &action, const QString &filter);

// A file chosen inside the page's folder named relative to it, so the published page
// still finds it; anything else (addresses, other folders, no folder yet) as typed.
QString pageRelativePath(const QString &file, const QString &pageFolder);

// The action combo's texts: "あり" merges the effect's script, "なし" pastes the element only.
QString withScriptAction();
QString withoutScriptAction();

} // namespace effectfields

} // namespace lumipage
