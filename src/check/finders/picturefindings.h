#pragma once

#include "check/finders/pagefinding.h"
#include "pictures/pictureinfo.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumipage::check
{

class ParsedPage;

// The src of every IMG on the page as written, each once: the pictures whose files the
// check reads before it calls pictureFindings().
QStringList pictureSources(const ParsedPage &page);

// Above this a picture file is heavy for a page.
inline constexpr qint64 kHeavyPictureBytes = 1024 * 1024;

// What a visitor waits for or learns from the page's pictures, in page order: an IMG
// without width or height (the page jumps while it loads), and for each whose file's
// facts `files` holds (by src as written): a picture over twice the width it is shown at,
// a file over kHeavyPictureBytes, one turned by its EXIF orientation, one carrying a GPS
// position.
QList<PageFinding> pictureFindings(const ParsedPage &page,
                                   const QHash<QString, pictures::PictureInfo> &files);

} // namespace lumipage::check
