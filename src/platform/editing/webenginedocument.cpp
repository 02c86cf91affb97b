// The editing component's page as a document: loading it (with progress and a
// timeout on lack of progress), bringing it back when its process dies, reading its
// HTML and saving it.
#include "platform/editing/webengineeditingcomponent.h"

#include "platform/editing/busyindicator.h"
#include "platform/editing/documentform.h"
#include "platform/editing/documentscheme.h"
#include "platform/editing/guardedpage.h"
#include "platform/editing/pagefile.h"
#include "platform/editing/pagekeeper.h"
#include "platform/effects/effectspage.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>

namespace lumipage
{

namespace
{
// How often a waiting load asks the page how far it has got.
constexpr qint64 kProbeMs = 2000;

const QString kEmptyPage =
    QStringLiteral("<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
                   "<TITLE></TITLE></HEAD><BODY></BODY></HTML>");
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

// --- loading -------------------------------------------------------------------------

void WebEngineEditingComponent::startLoad(const QString &path, const QString &html)
{
    if (!m_restoring) {
        m_keeper->reset(html);
        emit pageBegun();
    }
    m_revision = 0;
    m_loadPending = true;
    m_loadFailed = false;
    m_runtimeReady = false;
    m_statuses.clear();
    m_loadingUrl = m_handler->setDocument(path, html);
    m_page->loadDocument(m_loadingUrl);
}

void WebEngineEditingComponent::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    // Only the end of the current load counts: a load that was stopped or superseded
    // may report its end after the next one has begun.
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus || info.url() != m_loadingUrl)
        return;
    m_loadPending = false;
    m_loadFailed = info.status() != QWebEngineLoadingInfo::LoadSucceededStatus;
    m_caller.wake();
}

bool WebEngineEditingComponent::waitForLoad()
{
    // A big page may load for a long time: the wait gives up only when the engine stops
    // making progress, as loadProgress shows and, when it has been quiet for a while, the
    // page process working (a long layout answers nothing) or the page growing.
    BusyScope busy(*m_busy, tr("読み込み中…"));
    int ticks = m_loadTicks;
    qint64 cpu = cpuTicks(m_page->renderProcessPid());
    auto elements = std::make_shared<qint64>(-1); // answers may come after the wait
    QDeadlineTimer stall(m_loadTimeoutMs);
    while (m_loadPending && !stall.hasExpired()) {
        const int before = m_loadTicks;
        m_caller.wait([&] { return !m_loadPending || m_loadTicks != before; },
                      QDeadlineTimer(std::min<qint64>(kProbeMs, stall.remainingTime())));
        if (m_loadTicks != ticks) {
            ticks = m_loadTicks;
            stall.setRemainingTime(m_loadTimeoutMs);
            continue;
        }
        if (!m_loadPending)
            break;
        const qint64 cpuNow = cpuTicks(m_page->renderProcessPid());
        if (cpuNow > cpu) {
            cpu = cpuNow;
            ticks = ++m_loadTicks;
            stall.setRemainingTime(m_loadTimeoutMs);
            continue;
        }
        m_page->runJavaScript(QStringLiteral("document.getElementsByTagName('*').length"),
                              QWebEngineScript::ApplicationWorld,
                              [this, elements](const QVariant &count) {
                                  if (!m_loadPending || count.toLongLong() == *elements)
                                      return;
                                  *elements = count.toLongLong();
                                  ++m_loadTicks;
                                  m_caller.wake();
                              });
    }
    if (m_loadPending) {
        fail(tr("ページの読み込みが進みません。"));
        return false;
    }
    if (m_loadFailed) {
        fail(tr("ページを表示できませんでした。"));
        return false;
    }
    return true;
}

bool WebEngineEditingComponent::LoadDocument(const QString &path)
{
    pagefile::Page page;
    if (!pagefile::read(path, &page, &m_lastError))
        return false;
    // The page open now comes back if the new one cannot be shown.
    const std::optional<QString> previous = readDocument();
    const QString previousPath = std::exchange(m_path, QFileInfo(path).absoluteFilePath());
    const QByteArray previousEncoding = std::exchange(m_encoding, page.encoding);
    m_notice = page.notice;
    startLoad(m_path, page.text);
    if (waitForLoad())
        return true;
    const QString why = m_lastError;
    m_page->triggerAction(QWebEnginePage::Stop);
    m_path = previousPath;
    m_encoding = previousEncoding;
    m_notice.clear();
    if (previous)
        startLoad(pageLocation(), *previous);
    m_lastError = tr("ファイル「%1」を開けませんでした。%2").arg(path, why);
    return false;
}

void WebEngineEditingComponent::NewDocument()
{
    m_path.clear();
    m_encoding = "UTF-8";
    startLoad(pageLocation(), kEmptyPage);
}

bool WebEngineEditingComponent::setDocumentHTML(const QString &html)
{
    startLoad(pageLocation(), html);
    return true;
}

// --- reading and writing ---------------------------------------------------------------

PageCaller::Result WebEngineEditingComponent::call(const QString &name, const QJsonArray &args)
{
    if (m_loadPending && !waitForLoad())
        return {false, {}, m_lastError};
    BusyScope busy(*m_busy, tr("処理中…"));
    PageCaller::Result result = m_caller.call(
        m_page, name, args, [this] { return !m_loadPending; }, m_timeoutMs);
    if (!result.ok)
        fail(result.error);
    return result;
}

std::optional<QString> WebEngineEditingComponent::readDocument()
{
    const PageCaller::Result result = call(QStringLiteral("documentMarkup"));
    if (!result.ok)
        return std::nullopt;
    const QVariantList parts = result.value.toList();
    documentform::Aids aids;
    for (const QVariant &name : parts.value(3).toList())
        aids.attributes.insert(name.toString());
    return documentform::document(parts.value(0).toString(), parts.value(1).toString(),
                                  parts.value(2).toString(), aids);
}

QString WebEngineEditingComponent::DocumentHTML()
{
    return readDocument().value_or(QString());
}

bool WebEngineEditingComponent::SaveDocument(const QString &path)
{
    BusyScope busy(*m_busy, tr("保存中…"));
    const std::optional<QString> html = readDocument();
    if (!html || !pagefile::write(path, *html, m_encoding, &m_lastError))
        return false;
    // The page is that file from now on: browse mode, the recovery copy, file names made
    // relative and the effects copy's guard all go by it.
    m_path = QFileInfo(path).absoluteFilePath();
    return true;
}

void WebEngineEditingComponent::onRendererDied()
{
    // Whatever waits on the dead page gives up at once; the page comes back from the
    // last copy in a new process.
    const bool lost = m_keeper->changedSinceCopy();
    const qint64 seconds =
        std::max<qint64>(1, m_keeper->copyTime().secsTo(QDateTime::currentDateTime()));
    m_restoreMessage =
        lost ? tr("表示エンジンが停止したため、%1 秒前の状態から復元しました。").arg(seconds)
             : tr("表示エンジンが停止したため、ページを復元しました。失われた編集はありません。");
    m_runtimeReady = false;
    m_restoring = true;
    m_caller.abandonWaiting();
    const QString html = m_keeper->copy();
    QTimer::singleShot(0, this, [this, html] {
        // A fresh page: the old one's channel transport died with its process.
        createPage();
        startLoad(pageLocation(), html);
        m_keeper->noteChange(); // the restored page is read back and kept again
    });
}

void WebEngineEditingComponent::openRecovered(const QString &html, const QString &path,
                                              const QByteArray &encoding)
{
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_encoding = encoding.isEmpty() ? QByteArray("UTF-8") : encoding;
    startLoad(pageLocation(), html);
    m_keeper->noteChange(); // not saved anywhere yet: keep it as a changed page
}

bool WebEngineEditingComponent::SaveEffectsCopy(const QString &path)
{
    if (!m_path.isEmpty() && QFileInfo(path) == QFileInfo(m_path)) {
        m_lastError = QStringLiteral(
            "編集中のページのファイルには書き出せません。別の名前を指定してください。");
        return false;
    }
    BusyScope busy(*m_busy, tr("保存中…"));
    const std::optional<QString> html = readDocument();
    return html && pagefile::write(path, pageWithEffects(*html).html, m_encoding, &m_lastError);
}

} // namespace lumipage
