#pragma once

#include "fragments/dialogresult.h"

namespace lumipage
{

class InsertionController;

// Opens the dialog of effect `kind` modally over the surface and, on OK, has `controller`
// insert what it hands back; nothing for EffectKind::None.
void openEffectDialog(EffectKind kind, InsertionController &controller);

} // namespace lumipage
