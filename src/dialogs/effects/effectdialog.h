#pragma once

#include "dialogs/effects/effectresult.h"

#include <functional>

class QDialog;
class QGridLayout;

namespace lumipage
{

// How an effect dialog's OK ends: with a request the dialog keeps it in `request` and
// closes accepted; a problem is shown and the dialog stays open for the user to mend
// the field; with nothing to insert the dialog closes without a request.
void finishEffect(QDialog &dialog, const EffectResult &result, EffectRequest &request);

// Adds the live preview under the dialog's form, across its columns, and makes the
// dialog taller for it. `current` is what OK would build from the fields now; the
// preview stays idle until the insertion controller gives it its page maker.
void addEffectPreview(QDialog &dialog, QGridLayout &grid, std::function<EffectResult()> current);

} // namespace lumipage
