#include "platform/editing/pageloader.h"

#include "platform/browsing/documentscheme.h"
#include "platform/browsing/guardedpage.h"
#include "platform/editing/busyindicator.h"
#include "platform/editing/pagecaller.h"

#include <QFile>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>

#include <memory>

namespace lumipage
{

namespace
{
// How often a waiting load asks the page how far it has got.
constexpr qint64 kProbeMs = 2000;

// The CPU time a process has used so far, in clock ticks; -1 where it cannot be read.
qint64 cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields.at(11).toLongLong() + fields.at(12).toLongLong() : -1;
}

} // namespace

PageLoader::PageLoader(DocumentSchemeHandler &handler, PageCaller &caller, BusyIndicator &busy,
                       QObject *parent)
    : QObject(parent), m_handler(handler), m_caller(caller), m_busy(busy)
{
}

void PageLoader::follow(GuardedPage *page)
{
    m_page = page;
    connect(page, &QWebEnginePage::loadingChanged, this, &PageLoader::onLoadingChanged);
    connect(page, &QWebEnginePage::loadProgress, this, &PageLoader::onProgress);
}

void PageLoader::start(const QString &path, const QString &html)
{
    m_pending = true;
    m_failed = false;
    m_runtimeReady = false;
    m_url = m_handler.setDocument(path, html);
    m_page->loadDocument(m_url);
}

void PageLoader::stop()
{
    m_page->triggerAction(QWebEnginePage::Stop);
}

void PageLoader::onProgress(int percent)
{
    if (!m_pending)
        return;
    ++m_ticks;
    m_busy.setProgress(percent);
    m_caller.wake();
}

void PageLoader::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    // Only the end of the current load counts: a load that was stopped or superseded
    // may report its end after the next one has begun.
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus || info.url() != m_url)
        return;
    m_pending = false;
    m_failed = info.status() != QWebEngineLoadingInfo::LoadSucceededStatus;
    m_caller.wake();
}

bool PageLoader::runtimeReady(const QString &url)
{
    if (QUrl(url) != m_url)
        return false;
    m_runtimeReady = true;
    // The document is parsed and the runtime answers: calls may go ahead even when the
    // engine has not reported the end of the load (it may not, after a stopped one).
    if (std::exchange(m_pending, false))
        m_caller.wake();
    return true;
}

bool PageLoader::wait()
{
    // A big page may load for a long time: the wait gives up only when the engine stops
    // making progress, as loadProgress shows and, when it has been quiet for a while, the
    // page process working (a long layout answers nothing) or the page growing.
    BusyScope busy(m_busy, tr("読み込み中…"));
    int ticks = m_ticks;
    qint64 cpu = cpuTicks(m_page->renderProcessPid());
    auto elements = std::make_shared<qint64>(-1); // answers may come after the wait
    QDeadlineTimer stall(m_timeoutMs);
    while (m_pending && !stall.hasExpired()) {
        const int before = m_ticks;
        m_caller.wait([&] { return !m_pending || m_ticks != before; },
                      QDeadlineTimer(std::min<qint64>(kProbeMs, stall.remainingTime())));
        if (m_ticks != ticks) {
            ticks = m_ticks;
            stall.setRemainingTime(m_timeoutMs);
            continue;
        }
        if (!m_pending)
            break;
        const qint64 cpuNow = cpuTicks(m_page->renderProcessPid());
        if (cpuNow > cpu) {
            cpu = cpuNow;
            ticks = ++m_ticks;
            stall.setRemainingTime(m_timeoutMs);
            continue;
        }
        m_page->runJavaScript(QStringLiteral("document.getElementsByTagName('*').length"),
                              QWebEngineScript::ApplicationWorld,
                              [this, elements](const QVariant &count) {
                                  if (!m_pending || count.toLongLong() == *elements)
                                      return;
                                  *elements = count.toLongLong();
                                  ++m_ticks;
                                  m_caller.wake();
                              });
    }
    if (m_pending) {
        m_error = tr("ページの読み込みが進みません。");
        return false;
    }
    if (m_failed) {
        m_error = tr("ページを表示できませんでした。");
        return false;
    }
    return true;
}

} // namespace lumipage
