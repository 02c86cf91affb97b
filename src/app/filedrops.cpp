#include "app/filedrops.h"

#include "app/filedrop.h"
#include "dialogs/webimage/webimagemarkup.h"
#include "fragments/imagemarkup.h"
#include "platform/editing/editingcomponent.h"
#include "platform/desktop/messages.h"

#include <QFileInfo>
#include <QTimer>

namespace lumipage
{

FileDrops::FileDrops(QWidget &window, EditingComponent &editor,
                     std::function<void(const QString &)> openPage)
    : m_window(window), m_editor(editor), m_openPage(std::move(openPage))
{
}

void FileDrops::droppedOnWindow(const QList<QUrl> &urls)
{
    handle(urls, false, {});
}

void FileDrops::droppedOnPage(const QList<QUrl> &urls, const QPoint &pos)
{
    handle(urls, !m_editor.BrowseMode(), pos);
}

void FileDrops::handle(const QList<QUrl> &urls, bool onEditedPage, const QPoint &pos)
{
    const FileDrop drop = classifyFileDrop(urls, onEditedPage);
    // The drop ends first: questions and messages must not run inside the drag's loop.
    QTimer::singleShot(0, &m_window, [this, drop, pos] {
        switch (drop.action) {
        case FileDrop::Action::OpenPage:
            m_openPage(drop.paths.first());
            break;
        case FileDrop::Action::InsertImages:
            m_editor.placeCaretAt(pos);
            insertPictures(drop.paths);
            break;
        case FileDrop::Action::Refuse:
            messages::warn(&m_window, drop.message);
            break;
        }
    });
}

QString FileDrops::insertPictures(const QStringList &paths, QSize size)
{
    const QString page = m_editor.documentPath();
    const QString folder = page.isEmpty() ? QString() : QFileInfo(page).absolutePath();
    QString fragment;
    for (const QString &path : paths) {
        ImageFields fields;
        fields.source = path;
        const QString asIs = imageMarkup(fields, folder);
        // A picture whose offer was cancelled stays out; the others go in.
        std::optional<QString> markup = m_imageRoad ? m_imageRoad(fields, folder, 0, false) : asIs;
        if (markup == asIs && size.isValid()) {
            WebImageMarkupFields sized;
            sized.image = fields;
            sized.picture = path;
            sized.shownWidth = size.width();
            sized.shownHeight = size.height();
            markup = webImageMarkup(sized, folder);
        }
        fragment += markup.value_or(QString());
    }
    if (fragment.isEmpty())
        return {};
    if (m_editor.pasteHTML(fragment))
        return fragment;
    messages::warn(&m_window, m_editor.lastError());
    return {};
}

} // namespace lumipage
