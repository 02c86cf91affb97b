#include "platform/editing/filedropfilter.h"

#include <QApplication>
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
    // The engine filters its surface's drag events itself; only a filter on the whole
    // application is sure to see them first.
    qApp->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target || (target != m_widget && !m_widget->isAncestorOf(target)))
        return false;
    auto *drag = static_cast<QDropEvent *>(event);
    if (!carriesFiles(drag->mimeData()))
        return false;
    drag->acceptProposedAction();
    if (type == QEvent::Drop)
        emit filesDropped(drag->mimeData()->urls(),
                          target->mapTo(m_widget, drag->position().toPoint()));
    return true;
}

} // namespace lumipage
