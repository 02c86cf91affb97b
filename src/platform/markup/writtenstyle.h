#pragma once

#include "platform/markup/documentform.h"

#include <QByteArrayView>

namespace lumipage
{

// How markup is written where a page's author wrote it otherwise than DocumentHTML.
struct WrittenStyle {
    bool upperCaseNames = true; // false: HTML names in the engine's lower case
    bool quotedValues = false;  // every value in double quotes, also where bare would do
    bool closedVoids = false;   // void HTML elements end in " />", as XHTML pages write them
};

// The style a page's author wrote its tags in, for markup written into it anew: names in
// lower case where most are, every value quoted where most are, void elements closed
// with " />" where most are (an XHTML page). Read from the tags of the original bytes.
WrittenStyle writtenStyle(QByteArrayView original);

} // namespace lumipage

namespace lumipage::documentform
{

// rewrite(), written in `style` where that reads back the same.
Rewritten rewrite(QStringView engineMarkup, const Aids &aids, const WrittenStyle &style,
                  std::vector<ElementSpan> *spans = nullptr);

} // namespace lumipage::documentform
