#pragma once

#include "platform/markup/sourcetree.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

namespace lumipage::textchange
{

// The one stretch of a text that changed: `removed` bytes from `start` became `inserted`.
struct Stretch {
    qsizetype start = 0;
    qsizetype removed = 0;
    QByteArray inserted;
    bool operator==(const Stretch &) const = default;
};

// What turns `before` into `after` (both UTF-8) as one stretch, keeping their common
// beginning and end, never splitting a character; nullopt when they are the same.
std::optional<Stretch> between(QByteArrayView before, QByteArrayView after);

// The innermost element of `elements` (a parse of the same text, in document order) whose
// tags or content hold the byte `offset`; -1 when none does.
qint32 elementAt(const std::vector<SourceElement> &elements, qsizetype offset);

// A change of a page's text that stays inside one element of its body.
struct ElementEdit {
    qint32 ordinal = -1; // the element, in the parse of the text before
    QByteArray name;     // its name before
    QByteArray markup;   // its text after, as written
    bool operator==(const ElementEdit &) const = default;
};

// The smallest element of the body around the change from `before` (parsed as
// `parsed`) to `after` whose text after reads, where it stands, as exactly one element
// and as written (nothing left open, no end tag closing nothing); nullopt when no element
// does: a change in the head or the html and body tags, or one that reads otherwise.
std::optional<ElementEdit> elementEdit(const SourceTree &parsed, const QByteArray &before,
                                       const QByteArray &after);

} // namespace lumipage::textchange
