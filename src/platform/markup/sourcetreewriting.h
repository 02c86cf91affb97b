#pragma once

// The parser's nodes written as the engine's outerHTML writes them; the source tree's
// own writer, for the files that read markup in place.

#include "platform/markup/elementrules.h"

#include <gumbo.h>

#include <QByteArray>

#include <string>
#include <string_view>

namespace lumipage
{

// `parsed`: the bytes the parser read, where the ends of forms are found.
std::string writtenNode(const GumboNode *node, const QByteArray &parsed);
// An element's name, an attribute's name (with its namespace's prefix).
std::string writtenName(const GumboElement &element);
std::string writtenAttributeName(const GumboAttribute &attribute);
// Text escaped as the engine's serialiser escapes it: in text & < > and U+00A0, in an
// attribute value & " and U+00A0.
void addEscaped(std::string &out, std::string_view text, bool attribute);
// Text in `parent` is written as it stands (script, style and the like).
bool rawTextParent(const GumboNode *parent);
// How an element of this written name is written: void, raw text, plain.
documentform::Kind kindOfName(const std::string &name);

} // namespace lumipage
