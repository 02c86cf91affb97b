#include "app/filedrops.h"

#include "app/filedrop.h"
#include "platform/editing/dialogs/imagemarkup.h"
#include "platform/editing/editingcomponent.h"
#include "platform/messages.h"

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
        case FileDrop::Action::InsertImages: {
            const QString page = m_editor.documentPath();
            const QString folder = page.isEmpty() ? QString() : QFileInfo(page).absolutePath();
            QString fragment;
            for (const QString &path : drop.paths) {
                ImageFields fields;
                fields.source = path;
                // A picture whose offer was cancelled stays out; the others go in.
                const std::optional<QString> markup = m_imageRoad
                                                          ? m_imageRoad(fields, folder, 0, false)
                                                          : imageMarkup(fields, folder);
                fragment += markup.value_or(QString());
            }
            if (fragment.isEmpty())
                break;
            m_editor.placeCaretAt(pos);
            if (!m_editor.pasteHTML(fragment))
                messages::warn(&m_window, m_editor.lastError());
            break;
        }
        case FileDrop::Action::Refuse:
            messages::warn(&m_window, drop.message);
            break;
        }
    });
}

} // namespace lumipage
