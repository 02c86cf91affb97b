#pragma once

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QObject>
#include <QVariant>

#include <functional>

class QEventLoop;
class QWebEnginePage;

namespace lumipage
{

// The one synchronous road into the page: runs a runtime operation in the
// application world and waits for its answer in a local event loop that takes no
// user input, with a timeout so that a hung page cannot hang the editor.
class PageCaller : public QObject
{
    Q_OBJECT
public:
    struct Result {
        bool ok = false;
        QVariant value;
        QString error;
    };

    explicit PageCaller(QObject *parent = nullptr) : QObject(parent) {}

    // Waits until `ready` holds (a pending load has finished), then calls
    // `__lumipage.call(name, args)` in the page and returns its answer.
    Result call(QWebEnginePage *page, const QString &name, const QJsonArray &args,
                const std::function<bool()> &ready, int timeoutMs);

    // Waits in the same way, without a call, until `done` holds or `deadline` passes
    // (a load in progress); whether `done` holds.
    bool wait(const std::function<bool()> &done, QDeadlineTimer deadline);

    // Ends the current wait early so its condition is checked again.
    void wake();
    // The page's engine process died: every call waiting on it returns at once as failed.
    void abandonWaiting();
    // How many calls went into the page so far.
    quint64 callsMade() const { return m_sequence; }
    // Whether a call is waiting; events from the page are held back meanwhile.
    bool busy() const { return m_depth > 0; }

signals:
    // The outermost call has returned; held-back events may now be delivered.
    void idle();

private:
    bool spinUntil(const std::function<bool()> &done, QDeadlineTimer deadline);

    int m_depth = 0;
    quint64 m_abandoned = 0; // counts the deaths of the page, so waits can see one
    quint64 m_sequence = 0;
    QEventLoop *m_loop = nullptr;
};

} // namespace lumipage
