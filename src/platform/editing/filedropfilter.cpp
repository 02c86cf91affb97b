#include "platform/editing/filedropfilter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include <algorithm>

namespace lumipage
{

namespace
{

bool carriesFiles(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.cbegin(), urls.cend(),
                       [](const QUrl &url) { return url.isLocalFile(); });
}

} // namespace

FileDropFilter::FileDropFilter(QWidget *widget) : QObject(widget), m_widget(widget)
{
    widget->setAcceptDrops(true);
    watch(widget);
}

void FileDropFilter::watch(QObject *object)
{
    object->installEventFilter(this);
    for (QObject *child : object->children())
        if (child->isWidgetType())
            watch(child);
}

bool FileDropFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded: {
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            watch(child);
        return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!carriesFiles(drag->mimeData()))
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!carriesFiles(drop->mimeData()))
            return false;
        drop->acceptProposedAction();
        const QPoint at =
            static_cast<QWidget *>(watched)->mapTo(m_widget, drop->position().toPoint());
        emit filesDropped(drop->mimeData()->urls(), at);
        return true;
    }
    default:
        return false;
    }
}

} // namespace lumipage
