#pragma once

// The parser's nodes written as the engine's outerHTML writes them; the source tree's
// own writer, for the files that read markup in place.

#include <gumbo.h>

#include <QByteArray>

#include <string>

namespace lumipage
{

// `parsed`: the bytes the parser read, where the ends of forms are found.
std::string writtenNode(const GumboNode *node, const QByteArray &parsed);
std::string writtenName(const GumboElement &element);

} // namespace lumipage
