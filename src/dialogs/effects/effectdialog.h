#pragma once

#include "dialogs/effects/effectresult.h"

class QDialog;

namespace lumipage
{

// How an effect dialog's OK ends: with a request the dialog keeps it in `request` and
// closes accepted; a problem is shown and the dialog stays open for the user to mend
// the field; with nothing to insert the dialog closes without a request.
void finishEffect(QDialog &dialog, const EffectResult &result, EffectRequest &request);

} // namespace lumipage
