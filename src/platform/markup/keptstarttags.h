#pragma once

#include "platform/markup/sourcetree.h"
#include "platform/markup/writtenstyle.h"

namespace lumipage
{

// The content written anew in place of the original's bytes [from, to) inside the element
// `ordinal` of `tree` (the engine's markup of it, `engine`), in `style`, but for the
// original's elements inside it that it still holds: their tags as the bytes wrote them
// (an element unchanged through its end, all of it), so that they keep their author's
// quotes, case and references where only what is around them changed. An original tag is
// taken where its DocumentHTML form is that of one written, in order; it then reads as
// the same element.
QString keptStartTags(QStringView engine, const documentform::Aids &aids, const WrittenStyle &style,
                      const SourceTree &tree, const sourcemap::SourceText &source,
                      const QByteArray &encoding, qint32 ordinal, qint32 from, qint32 to);

} // namespace lumipage
