#pragma once

// The parser's nodes written as the engine's outerHTML writes them; the source tree's
// own writer, for the files that read markup in place.

#include <gumbo.h>

#include <string>

namespace lumipage
{

std::string writtenNode(const GumboNode *node);
std::string writtenName(const GumboElement &element);

} // namespace lumipage
