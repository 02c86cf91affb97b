#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QWebEngineLoadingInfo;

namespace lumipage
{

class BusyIndicator;
class DocumentSchemeHandler;
class GuardedPage;
class PageCaller;

// Loads a page's text into the editing page and waits for it: the page is served by the
// scheme handler at its file's document URL, and a wait gives up only when the engine
// stops making progress (load progress, the page process working, the page growing) for
// the load timeout, showing progress on the busy indicator meanwhile. A load counts as
// done once the runtime in it reports ready or the engine reports its end.
class PageLoader : public QObject
{
    Q_OBJECT
public:
    PageLoader(DocumentSchemeHandler &handler, PageCaller &caller, BusyIndicator &busy,
               QObject *parent = nullptr);

    // Follows the loads of `page` (a new editing page, made at start and after its
    // process died); loads go to the page followed last.
    void follow(GuardedPage *page);
    // Starts loading `html` as the page of the file `path` (nothing waits yet).
    void start(const QString &path, const QString &html);
    // Waits for the pending load; false (error() says why) when it fails or stops making
    // progress for the load timeout.
    bool wait();
    // Stops the pending load in the engine.
    void stop();

    // The runtime of a page at `url` answers; true when that is the current load, which
    // is then done (the engine may not report the end of a load it was told to stop).
    bool runtimeReady(const QString &url);
    // The page's process died: its runtime no longer answers until the next load.
    void pageLost() { m_runtimeReady = false; }

    // Whether a load has begun and not ended yet.
    bool pending() const { return m_pending; }
    // Whether the runtime of the current page answers calls.
    bool ready() const { return m_runtimeReady; }
    // Why the last wait failed, in words for the user.
    QString error() const { return m_error; }
    // How long a load may go without progress before it is given up, in milliseconds.
    void setTimeout(int ms) { m_timeoutMs = ms; }

private:
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void onProgress(int percent);

    DocumentSchemeHandler &m_handler;
    PageCaller &m_caller;
    BusyIndicator &m_busy;
    GuardedPage *m_page = nullptr;
    QUrl m_url;
    bool m_pending = false;
    bool m_failed = false;
    bool m_runtimeReady = false;
    int m_ticks = 0; // grows while a load makes progress
    int m_timeoutMs = 15000;
    QString m_error;
};

} // namespace lumipage
