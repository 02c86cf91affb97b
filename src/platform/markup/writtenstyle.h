#pragma once

#include "platform/markup/documentform.h"

#include <QByteArrayView>

namespace lumipage
{

// The style a page's author wrote its tags in, for markup written into it anew: names in
// lower case where most are, every value quoted where most are, void elements closed
// with " />" where most are (an XHTML page). Read from the tags of the original bytes.
documentform::Style writtenStyle(QByteArrayView original);

} // namespace lumipage
