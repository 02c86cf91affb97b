#pragma once

#include "fragments/imagemarkup.h"

#include <QString>

#include <optional>

class QWidget;

namespace lumipage
{

// The one road a picture file takes into the page (the image dialog, drops): a picture
// bigger than the page needs is offered as a web copy (WebImageDialog), made on a worker
// with a progress box, and the element names the copies; anything else goes in as it is.
// Copies go where webCopyFolder() says; a page never saved gets the picture as it is.
// Where a picture's web copies go: beside it when it lies in the page's folder tree, else
// in the page's folder.
QString webCopyFolder(const QString &picture, const QString &pageFolder);

class WebImageInsertion
{
public:
    explicit WebImageInsertion(QWidget &window);

    // The markup for the picture of `fields` on a page in `pageFolder` (empty: never saved),
    // shown `shownWidth` wide (0: not known); `askAlways` offers the copy whatever the
    // picture's size (「Web用に最適化…」). Nothing when the user cancelled or a copy failed
    // (told): nothing is then inserted, and no copy is left behind.
    std::optional<QString> markupFor(const ImageFields &fields, const QString &pageFolder,
                                     int shownWidth = 0, bool askAlways = false);

private:
    QWidget &m_window;
};

} // namespace lumipage
