#pragma once

#include "fragments/imagemarkup.h"

#include <QList>
#include <QPoint>
#include <QSize>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

namespace lumipage
{

class EditingComponent;

// What files dropped on the main window or on the page do (see classifyFileDrop): a
// page opens through `openPage` (the road of 開く, with its questions); pictures dropped
// on the page while editing go in at the drop point as one step, named as the image
// dialog names them; anything else is refused with a message.
class FileDrops
{
public:
    FileDrops(QWidget &window, EditingComponent &editor,
              std::function<void(const QString &)> openPage);

    // What each dropped picture goes in as (the web-copy offer); unset: as it is.
    void setImageMarkupRoad(ImageMarkupRoad road) { m_imageRoad = std::move(road); }

    // Files dropped on the window beside the page.
    void droppedOnWindow(const QList<QUrl> &urls);
    // Files dropped on the page at `pos` (the editing component's coordinates).
    void droppedOnPage(const QList<QUrl> &urls, const QPoint &pos);
    // Puts the pictures `paths` in at the selection as one step, through the picture road;
    // `size`, when known, is written as the shown size of a picture going in as it is.
    // The markup that went in; empty when nothing did (every offer cancelled, or the page
    // refused: told).
    QString insertPictures(const QStringList &paths, QSize size = {});

private:
    void handle(const QList<QUrl> &urls, bool onEditedPage, const QPoint &pos);

    QWidget &m_window;
    EditingComponent &m_editor;
    std::function<void(const QString &)> m_openPage;
    ImageMarkupRoad m_imageRoad;
};

} // namespace lumipage
