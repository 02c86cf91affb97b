#pragma once

#include "document/pagedocument.h"
#include "platform/editing/editingcomponent.h"
#include "platform/markup/documentform.h"
#include "platform/markup/keptmarkup.h"

#include <QJsonArray>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace lumipage::pageprotocol
{

// What the runtime's documentMarkup answers: the page's markup in the engine's form
// (before the root element, the root element, after it), the attribute names the editor
// sets for editing, and, when asked, what changed since the load.
struct DocumentMarkup {
    QString before, root, after;
    documentform::Aids aids;
    QVariant changes;     // keptChanges' answer, invalid when not asked
    quint32 revision = 0; // the page's change count as read
};
DocumentMarkup documentMarkup(const QVariant &answer);

// What the runtime's keptChanges answers: the changed elements, or that only the whole
// page will do (a change outside the root element); the generation counts as changes.js
// numbers the originals.
PageChanges keptChanges(const QVariant &answer);

// The argument of the runtime's keptMarkup: the stretches whose engine markup is asked.
QJsonArray keptRegions(const std::vector<MarkupRegion> &regions);

// What the runtime's textLooks answers: [{colour, background, fontSize, fontWeight,
// elements}].
std::vector<EditingComponent::TextLook> textLooks(const QVariant &answer);

} // namespace lumipage::pageprotocol
