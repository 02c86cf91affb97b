#pragma once

#include "pictures/pictureinfo.h"
#include "pictures/websuggestion.h"

#include <QList>
#include <QString>

class QWidget;

namespace lumipage
{

class EditingComponent;

// A local picture the page shows with IMG, once for each name it is written with.
struct PagePicture {
    QString source; // the src as written
    pictures::PictureInfo info;
    int shownWidth = 0; // the widest width attribute in pixels it is shown with; 0: none
    pictures::WebCopySuggestion suggestion;
};

// The local pictures the page's IMG elements show, in page order, with their facts and
// what a web copy would be (PNG for PNG, GIF and BMP pictures, else JPEG). Left out: files that
// cannot be read, and names the page also uses elsewhere (a link to the full photo must keep naming
// it).
QList<PagePicture> pagePictures(const QString &html, const QString &pageFolder);

// ページの画像を最適化…: lists the page's pictures (PagePicturesDialog) and puts the web
// copies of the ticked ones in place of their originals as one undo step. A page never
// saved is told to be saved first.
void optimizePagePictures(EditingComponent &editor, QWidget &window);

} // namespace lumipage
