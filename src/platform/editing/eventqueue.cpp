#include "platform/editing/eventqueue.h"

#include "platform/editing/pagecaller.h"

#include <QTimer>

namespace lumipage
{

EventQueue::EventQueue(PageCaller &caller, QObject *parent) : QObject(parent), m_caller(caller)
{
    connect(&m_caller, &PageCaller::idle, this, [this] {
        if (m_pending)
            schedule();
    });
}

void EventQueue::queue(Events events)
{
    m_pending |= events;
    schedule();
}

void EventQueue::schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, &EventQueue::deliver);
}

void EventQueue::deliver()
{
    m_scheduled = false;
    if (m_caller.busy())
        return; // the idle signal brings us back once the call has returned
    const Events events = std::exchange(m_pending, {});
    if (events & DocumentComplete) {
        emit documentComplete();
        emit displayChanged();
    } else if (events & DisplayChanged) {
        emit displayChanged();
    }
    if (events & ContentChanged)
        emit contentChanged();
    if (events & PageRecovered)
        emit pageRecovered();
    if (events & GotFocus)
        emit gotFocus();
    if (events & ContextMenu)
        emit contextMenu();
}

} // namespace lumipage
