#pragma once

#include "platform/markup/sourcetree.h"

#include <QByteArray>

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
std::optional<Stretch> between(const QByteArray &before, const QByteArray &after);

// The innermost element of `elements` (a parse of the same text, in document order) whose
// tags or content hold the byte `offset`; -1 when none does.
qint32 elementAt(const std::vector<SourceElement> &elements, qsizetype offset);

} // namespace lumipage::textchange
