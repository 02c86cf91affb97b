#pragma once

#include <QString>

namespace lumipage
{

// Every occurrence of `find` replaced by `replacement`, left to right, case-sensitive,
// the replaced text not scanned again; linear in the length of the text.
QString replaceAll(const QString &text, const QString &find, const QString &replacement);

} // namespace lumipage
