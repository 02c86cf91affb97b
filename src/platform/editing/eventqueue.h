#pragma once

#include <QObject>

namespace lumipage
{

class PageCaller;

// Holds the page's events back while a synchronous call waits and delivers them after it
// returns, at most once per event-loop turn: events of one turn are coalesced (many
// selection changes give one display change), so no handler runs inside another.
class EventQueue : public QObject
{
    Q_OBJECT
public:
    enum Event {
        DocumentComplete = 1, // followed by a display change
        DisplayChanged = 2,
        GotFocus = 4,
        ContextMenu = 8,
        PageRecovered = 16,
        ContentChanged = 32,
    };
    Q_DECLARE_FLAGS(Events, Event)

    // Delivery waits while `caller` is busy and resumes when it turns idle.
    explicit EventQueue(PageCaller &caller, QObject *parent = nullptr);

    // Queues `events` for the next delivery.
    void queue(Events events);

signals:
    // One delivery, in this order; each at most once.
    void documentComplete();
    void displayChanged();
    void contentChanged();
    void pageRecovered();
    void gotFocus();
    void contextMenu();

private:
    void schedule();
    void deliver();

    PageCaller &m_caller;
    Events m_pending;
    bool m_scheduled = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(EventQueue::Events)

} // namespace lumipage
