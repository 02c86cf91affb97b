// The editing component's page as a document: which page is loaded (the loading itself
// is PageLoader's), bringing it back when its process dies, reading its HTML and saving
// it.
#include "platform/editing/webengineeditingcomponent.h"

#include "document/pagefile.h"
#include "platform/browsing/guardedpage.h"
#include "platform/editing/busyindicator.h"
#include "platform/editing/pagekeeper.h"
#include "platform/editing/pageloader.h"
#include "platform/editing/pageprotocol.h"
#include "platform/markup/documentform.h"
#include "platform/markup/htmltags.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebEngineScript>
#include <QtConcurrent/QtConcurrentRun>

namespace lumipage
{

namespace
{
const QString kEmptyPage =
    QStringLiteral("<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
                   "<TITLE></TITLE></HEAD><BODY></BODY></HTML>");

} // namespace

// --- loading -------------------------------------------------------------------------

void WebEngineEditingComponent::startLoad(const QString &path, const QString &html)
{
    m_document.began(); // the new page numbers its elements for the original kept now
    ++m_loads;
    if (!m_restoring) {
        m_keeper->reset(html);
        emit pageBegun();
    }
    m_revision = 0;
    m_statuses.clear();
    m_loader->start(path, html);
}

bool WebEngineEditingComponent::waitForLoad()
{
    if (m_loader->wait())
        return true;
    fail(m_loader->error());
    return false;
}

bool WebEngineEditingComponent::LoadDocument(const QString &path)
{
    // The page open now comes back if the new one cannot be shown.
    const PageDocument::State before = m_document.state();
    pagefile::Page page;
    if (!m_document.open(path, &page, &m_lastError))
        return false;
    const std::optional<QString> previous = readHtml();
    startLoad(m_document.path(), page.text);
    if (waitForLoad())
        return true;
    const QString why = m_lastError;
    m_loader->stop();
    m_document.restore(before, previous);
    if (previous)
        startLoad(pageLocation(), *previous);
    m_lastError = tr("ファイル「%1」を開けませんでした。%2").arg(path, why);
    return false;
}

void WebEngineEditingComponent::NewDocument()
{
    m_document.clear();
    startLoad(pageLocation(), kEmptyPage);
}

bool WebEngineEditingComponent::setDocumentHTML(const QString &html)
{
    m_document.showText(html);
    startLoad(pageLocation(), html);
    return true;
}

// --- reading and writing ---------------------------------------------------------------

PageCaller::Result WebEngineEditingComponent::call(const QString &name, const QJsonArray &args)
{
    if (m_loader->pending() && !waitForLoad())
        return {false, {}, m_lastError};
    BusyScope busy(*m_busy, tr("処理中…"));
    PageCaller::Result result = m_caller.call(
        m_page, name, args, [this] { return !m_loader->pending(); }, m_timeoutMs);
    if (!result.ok)
        fail(result.error);
    return result;
}

void WebEngineEditingComponent::callLater(const QString &name, const QJsonArray &args,
                                          std::function<void(const QVariant &)> answered)
{
    if (m_loader->pending() || BrowseMode()) {
        answered({});
        return;
    }
    const QString script =
        QStringLiteral("(function (a) { return window.__lumipage ? "
                       "window.__lumipage.call(a[0], a[1]) : null; })(%1)")
            .arg(QString::fromUtf8(
                QJsonDocument(QJsonArray{name, args}).toJson(QJsonDocument::Compact)));
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                          [answered = std::move(answered)](const QVariant &value) {
                              const QVariantMap answer = value.toMap();
                              answered(answer.value(QStringLiteral("ok")).toBool()
                                           ? answer.value(QStringLiteral("value"))
                                           : QVariant());
                          });
}

std::optional<PageSnapshot> WebEngineEditingComponent::readDocument(bool forSave)
{
    const bool withChanges = forSave && m_document.wantsChanges();
    const PageCaller::Result result =
        call(QStringLiteral("documentMarkup"), QJsonArray{withChanges});
    if (!result.ok)
        return std::nullopt;
    return snapshotOf(result.value, forSave);
}

PageSnapshot WebEngineEditingComponent::snapshotOf(const QVariant &answer, bool onWorker)
{
    pageprotocol::DocumentMarkup markup = pageprotocol::documentMarkup(answer);
    PageSnapshot page{{}, markup.root, markup.aids, std::nullopt};
    if (markup.changes.isValid())
        page.changes = pageprotocol::keptChanges(markup.changes);
    page.revision = revisionOf(markup.revision);
    const auto form = [markup = std::move(markup)] {
        return documentform::document(markup.before, markup.root, markup.after, markup.aids);
    };
    page.forming =
        onWorker ? QtConcurrent::run(&m_forming, form) : QtFuture::makeReadyFuture(form());
    return page;
}

std::optional<QString> WebEngineEditingComponent::readHtml()
{
    std::optional<PageSnapshot> page = readDocument(false);
    if (!page)
        return std::nullopt;
    return page->html();
}

std::optional<quint64> WebEngineEditingComponent::pageRevision()
{
    if (m_browsing)
        return std::nullopt; // browse mode shows a copy; the page's history is elsewhere
    const PageCaller::Result result = call(QStringLiteral("revision"));
    if (!result.ok)
        return std::nullopt;
    return revisionOf(quint32(result.value.toULongLong()));
}

quint64 WebEngineEditingComponent::revisionOf(quint32 pageCount) const
{
    // The page's count starts again with each load (a page brought back after its process
    // died among them): the loads count above it.
    return (quint64(m_loads) << 32) | pageCount;
}

QString WebEngineEditingComponent::DocumentHTML()
{
    return readHtml().value_or(QString());
}

std::optional<PageSnapshot> WebEngineEditingComponent::readPage()
{
    return readDocument(true);
}

bool WebEngineEditingComponent::SaveDocument(const QString &path)
{
    const std::optional<PageSnapshot> page = readPage();
    return page && savePage(path, *page);
}

bool WebEngineEditingComponent::savePage(const QString &path, const PageSnapshot &page)
{
    BusyScope busy(*m_busy, tr("保存中…"));
    QByteArray written;
    if (!m_document.save(path, page, *this, &written, &m_lastError))
        return false;
    // What was written is the page now: the copy kept against a dead engine process.
    m_keeper->saved(written, m_document.encoding());
    return true;
}

std::optional<std::vector<EditingComponent::TextLook>> WebEngineEditingComponent::textLooks()
{
    const PageCaller::Result result = call(QStringLiteral("textLooks"));
    if (!result.ok)
        return std::nullopt;
    return pageprotocol::textLooks(result.value);
}

void WebEngineEditingComponent::textLooksLater(
    std::function<void(std::optional<std::vector<TextLook>>)> done)
{
    callLater(QStringLiteral("textLooks"), {}, [done = std::move(done)](const QVariant &answer) {
        done(answer.isValid() ? std::optional(pageprotocol::textLooks(answer)) : std::nullopt);
    });
}

// The page's names of other files, rewritten (files brought into the page's folder).
bool WebEngineEditingComponent::replaceReferences(const QHash<QString, QString> &values)
{
    QJsonObject map;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        map.insert(it.key(), it.value());
    const PageCaller::Result result = call(QStringLiteral("replaceReferences"), {map});
    return result.ok && result.value.toBool();
}

// --- elements by their place ---------------------------------------------------------

int WebEngineEditingComponent::caretElement()
{
    const PageCaller::Result result = call(QStringLiteral("caretElement"));
    return result.ok ? result.value.toInt() : -1;
}

void WebEngineEditingComponent::selectElement(int ordinal)
{
    callLater(QStringLiteral("selectElement"), QJsonArray{ordinal}, [](const QVariant &) {});
}

bool WebEngineEditingComponent::replaceElement(int ordinal, const QByteArray &name,
                                               const QString &markup, const QString &pageText)
{
    const PageCaller::Result result = call(QStringLiteral("replaceElement"),
                                           QJsonArray{ordinal, QString::fromLatin1(name), markup});
    if (!result.ok || result.value.typeId() == QMetaType::Bool)
        return false;
    // The page numbered its elements afresh: the text with the markup as written is the
    // original from now on, as a page set whole is; the one before comes back with an undo.
    m_document.replacedElement(result.value.toInt(), pageText);
    return true;
}

void WebEngineEditingComponent::onRendererDied(
    QWebEnginePage::RenderProcessTerminationStatus status, int exitCode)
{
    // Whatever waits on the dead page gives up at once; the page comes back from the
    // last copy in a new process. Said on the error output too: edits since that copy
    // are gone, and a log should tell why.
    qWarning("the page's process ended (status %d, exit code %d); the page comes back from "
             "its last copy",
             int(status), exitCode);
    m_restoreMessage = m_keeper->restoreMessage();
    m_loader->pageLost();
    m_restoring = true;
    m_caller.abandonWaiting();
    const QString html = m_keeper->copy();
    m_document.showText(html);
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
    m_document.showRecovered(html, path, encoding);
    startLoad(pageLocation(), html);
    m_keeper->noteChange(); // not saved anywhere yet: keep it as a changed page
}

bool WebEngineEditingComponent::SaveEffectsCopy(const QString &path, const QString &baseFolder)
{
    if (!m_transform) {
        m_lastError = tr("効果を再生する仕組みが組み込まれていないため、書き出せません。");
        return false;
    }
    BusyScope busy(*m_busy, tr("保存中…"));
    const std::optional<QString> html = readHtml();
    if (!html)
        return false;
    const QString copy = m_transform(*html).html;
    return m_document.writeCopy(
        path, baseFolder.isEmpty() ? copy : htmltags::withBaseFolder(copy, baseFolder),
        &m_lastError);
}

} // namespace lumipage
