#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace lumipage
{

// What to do with files dropped on the main window or the page.
struct FileDrop {
    enum class Action {
        OpenPage,     // open `paths.first()` as 開く does
        InsertImages, // insert `paths` at the drop point, through the image road
        Refuse,       // tell the user `message`, change nothing
    };
    Action action = Action::Refuse;
    QStringList paths;
    QString message;
};

// Decides what a drop of `urls` means: one page file (.htm, .html) opens; image files
// dropped on the page while it is edited are inserted; anything else is refused with a
// message that names it. `onEditedPage`: dropped on the page in edit mode.
FileDrop classifyFileDrop(const QList<QUrl> &urls, bool onEditedPage);

// Whether a file name is that of a page or of a picture the page can show.
bool isPageFile(const QString &path);
bool isImageFile(const QString &path);

} // namespace lumipage
