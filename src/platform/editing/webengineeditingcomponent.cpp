#include "platform/editing/webengineeditingcomponent.h"

#include "platform/browsing/browseframe.h"
#include "platform/browsing/browsesession.h"
#include "platform/browsing/documentscheme.h"
#include "platform/browsing/guardedpage.h"
#include "platform/desktop/programfiles.h"
#include "platform/editing/busyindicator.h"
#include "platform/editing/componentdialogs.h"
#include "platform/editing/eventqueue.h"
#include "platform/editing/filedropfilter.h"
#include "platform/editing/pagebridge.h"
#include "platform/editing/pagekeeper.h"
#include "platform/editing/pageloader.h"
#include "platform/editing/pageprotocol.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStackedLayout>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace lumipage
{

namespace
{

QString readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing resource %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

QWebEngineScript runtimeScript()
{
    QWebEngineScript script;
    script.setName(QStringLiteral("lumipage-runtime"));
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setRunsOnSubFrames(false);
    // The core (serializer, history, runtime) first; the command modules extend it.
    QString source = readResource(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    // The command numbers come from the one table in C++ (LP.commands).
    QJsonObject commands;
    for (const CommandName &command : kCommandNames)
        commands.insert(QLatin1String(command.name), command.number);
    source += QStringLiteral("(window.__lumipage = window.__lumipage || {}).commands = %1;\n")
                  .arg(QString::fromUtf8(QJsonDocument(commands).toJson(QJsonDocument::Compact)));
    for (const char *part : {"serializer", "history", "runtime", "paste", "changes", "tables",
                             "objects", "find", "locate", "contrast", "styles", "stylepreview"})
        source += readResource(
            QStringLiteral(":/lumipage/platform/editing/runtime/%1.js").arg(QLatin1String(part)));
    script.setSourceCode(source);
    return script;
}

} // namespace

WebEngineEditingComponent::WebEngineEditingComponent(QWidget *parent) : EditingComponent(parent)
{
    m_profile = new QWebEngineProfile(this); // off the record: nothing written to disk
    m_handler = new DocumentSchemeHandler(kDocumentScheme, this);
    m_profile->installUrlSchemeHandler(kDocumentScheme, m_handler);
    m_profile->scripts()->insert(runtimeScript());
    // English only: the checker leaves words of other scripts alone. Off until the
    // program switches it on.
    m_profile->setSpellCheckLanguages({QStringLiteral("en-US")});

    m_forming.setMaxThreadCount(1);
    m_busy = new BusyIndicator(this);
    m_loader = new PageLoader(*m_handler, m_caller, *m_busy, this);
    m_events = new EventQueue(m_caller, this);
    connect(m_events, &EventQueue::documentComplete, this, &EditingComponent::DocumentComplete);
    connect(m_events, &EventQueue::displayChanged, this, &EditingComponent::DisplayChanged);
    connect(m_events, &EventQueue::pageRecovered, this,
            [this] { emit pageRecovered(m_restoreMessage); });
    connect(m_events, &EventQueue::gotFocus, this, &EditingComponent::GotFocus);
    connect(m_events, &EventQueue::contentChanged, this, &EditingComponent::contentChanged);
    connect(m_events, &EventQueue::contextMenu, this, &WebEngineEditingComponent::showContextMenu);

    m_dialogs = std::make_unique<ComponentDialogs>(*this);
    m_browse = new BrowseSession(this);
    connect(m_browse, &BrowseSession::linkActivated, this, &EditingComponent::linkActivated);
    connect(m_browse, &BrowseSession::rendererDied, this,
            &WebEngineEditingComponent::onBrowseRendererDied);
    m_keeper = new PageKeeper(
        [this](std::function<void(std::optional<QString>)> done) {
            if (!m_loader->ready())
                done(std::nullopt);
            else
                preservedHTMLLater(std::move(done));
        },
        this);
    connect(m_keeper, &PageKeeper::copied, this, &EditingComponent::pageCopied);
    m_bridge = new PageBridge(this);
    updateConfiguration();
    m_channel = new QWebChannel(this);
    m_channel->registerObject(QStringLiteral("bridge"), m_bridge);

    m_view = new QWebEngineView(this);
    createPage();
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    // Files dropped on the page are the program's to open or insert, not the engine's.
    connect(new FileDropFilter(m_view), &FileDropFilter::filesDropped, this,
            [this](const QList<QUrl> &urls, const QPoint &pos) {
                emit filesDropped(urls, m_view->mapTo(this, pos));
            });
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_view);
    m_browseFrame = new BrowseFrame(this);
    m_stack->addWidget(m_browseFrame);
    // A page shown at another width is loaded anew there, as a visitor's device loads it.
    connect(m_browseFrame, &BrowseFrame::widthChosen, m_browse, &BrowseSession::reload);
    setFocusProxy(m_view);

    connect(m_bridge, &PageBridge::ready, this, &WebEngineEditingComponent::onRuntimeReady);
    connect(m_bridge, &PageBridge::statusesChanged, this, &WebEngineEditingComponent::onStatuses);
    connect(m_bridge, &PageBridge::focused, this,
            [this] { m_events->queue(EventQueue::GotFocus); });
    connect(m_view, &QWidget::customContextMenuRequested, this,
            &WebEngineEditingComponent::onContextMenuRequested);

    NewDocument();
}

WebEngineEditingComponent::~WebEngineEditingComponent()
{
    // Pages must go before the profiles they live in.
    delete m_browse->view();
    delete m_view;
    delete m_page;
}

void WebEngineEditingComponent::createPage()
{
    GuardedPage *old = m_page;
    m_page = new GuardedPage(m_profile, this);
    QWebEngineSettings *settings = m_page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false); // page scripts never run
    // Images a page names by an absolute local path still show while editing.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, true);
    m_page->setWebChannel(m_channel, QWebEngineScript::ApplicationWorld);
    m_loader->follow(m_page);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            &WebEngineEditingComponent::onRendererDied, Qt::QueuedConnection);
    m_view->setPage(m_page);
    delete old;
}

void WebEngineEditingComponent::setCommonDialog(CommonDialog *dialog)
{
    m_dialogs->setCommonDialog(dialog);
}

void WebEngineEditingComponent::setImageMarkupRoad(ImageMarkupRoad road)
{
    m_dialogs->setImageMarkupRoad(std::move(road));
}

void WebEngineEditingComponent::setPageTransform(PageTransform transform)
{
    m_transform = transform;
    m_browse->setTransform(std::move(transform));
}

void WebEngineEditingComponent::setLoadTimeout(int ms)
{
    m_loader->setTimeout(ms);
}

// Where the page lies for the engine: its file, or for a page never saved a name in the
// folder of the program's files; relative names in the page resolve beside it.
QString WebEngineEditingComponent::pageLocation() const
{
    const QString path = m_document.path();
    return path.isEmpty() ? programfiles::sideFolder() + QStringLiteral("/untitled.htm") : path;
}

void WebEngineEditingComponent::fail(const QString &message)
{
    m_lastError = message;
}

// --- display --------------------------------------------------------------------------

void WebEngineEditingComponent::onRuntimeReady(const QString &url)
{
    if (!m_loader->runtimeReady(url))
        return;
    if (m_restoring) {
        // The page is the one the user was editing, so no new page begins: the program
        // keeps its idea of what was saved, and learns what happened instead.
        m_restoring = false;
        m_events->queue(EventQueue::PageRecovered | EventQueue::DisplayChanged);
        return;
    }
    m_events->queue(EventQueue::DocumentComplete);
}

void WebEngineEditingComponent::onBrowseRendererDied()
{
    // The browsed copy is gone; the document, in its own process, is untouched.
    setBrowseMode(false);
    m_restoreMessage =
        tr("表示エンジンが停止したため、編集モードに戻りました。ページは編集中のままです。");
    m_events->queue(EventQueue::PageRecovered);
}

void WebEngineEditingComponent::onStatuses(const QVariantMap &statuses, int revision, int caret,
                                           const QVariant &kept)
{
    m_reportedCaret = caret;
    // What changed, as a report of a change sent it; a report of a caret move leaves it
    // as it was. One that comes during a call may be older than what that call changes.
    const QVariantMap changes = kept.toMap();
    if (m_caller.busy() || (changes.isEmpty() && revision != m_revision)) {
        m_reportedKept.clear();
    } else if (!changes.isEmpty()) {
        m_reportedKept = changes;
        m_reportedKeptAt = m_caller.callsMade();
    }
    if (revision != m_revision) {
        m_revision = revision;
        m_keeper->noteChange();
        m_events->queue(EventQueue::ContentChanged);
    }
    m_statuses.clear();
    for (auto it = statuses.begin(); it != statuses.end(); ++it) {
        const int status = it.value().toInt();
        const bool known =
            status == int(CommandStatus::Enabled) || status == int(CommandStatus::Latched);
        m_statuses.insert(it.key().toInt(),
                          known ? CommandStatus(status) : CommandStatus::NotAvailable);
    }
    m_events->queue(EventQueue::DisplayChanged);
}

void WebEngineEditingComponent::Refresh()
{
    // The surface always shows the live document, so redisplaying is a repaint and a
    // fresh status report; reloading would throw the undo history away for nothing.
    if (m_browsing || m_loader->pending())
        return;
    m_view->update();
    m_events->queue(EventQueue::DisplayChanged);
}

// --- editing -------------------------------------------------------------------------

bool WebEngineEditingComponent::ExecCommand(int command, CommandOption option,
                                            const QVariant &value)
{
    if (m_browsing)
        return false;
    switch (command) {
    case decmd::INSERTTABLE:
        return insertTable(value.value<InsertTableParam>());
    case decmd::FINDTEXT:
        return m_dialogs->find();
    case decmd::FONT:
        return m_dialogs->font();
    case decmd::IMAGE:
        return m_dialogs->image(option, value);
    default:
        break;
    }
    QJsonArray args{command, int(option)};
    args.append(value.isValid() ? QJsonValue::fromVariant(value) : QJsonValue());
    const PageCaller::Result result = call(QStringLiteral("exec"), args);
    return result.ok && result.value.toBool();
}

bool WebEngineEditingComponent::insertTable(const InsertTableParam &param)
{
    // Counts are checked before the page is touched, so a refusal leaves it as it was.
    const QString problem = tableCountsProblem(param);
    if (!problem.isEmpty()) {
        fail(problem);
        return false;
    }
    const PageCaller::Result result =
        call(QStringLiteral("insertTable"), {param.NumRows.toInt(), param.NumCols.toInt(),
                                             param.TableAttrs, param.CellAttrs, param.Caption});
    if (result.ok && !result.value.toBool())
        fail(tr("ここには表を挿入できません。"));
    return result.ok && result.value.toBool();
}

QHash<int, CommandStatus> WebEngineEditingComponent::statuses() const
{
    if (m_browsing)
        return {}; // nothing is available while browsing
    return m_statuses;
}

CommandStatus WebEngineEditingComponent::QueryStatus(int command) const
{
    if (m_browsing)
        return CommandStatus::NotAvailable;
    return m_statuses.value(command, CommandStatus::NotAvailable);
}

bool WebEngineEditingComponent::pasteHTML(const QString &fragment)
{
    if (m_browsing) {
        fail(tr("実行モードでは貼り付けできません。編集モードに切り替えてください。"));
        return false;
    }
    const PageCaller::Result result = call(QStringLiteral("paste"), {fragment});
    if (result.ok && !result.value.toBool())
        fail(tr("この位置には貼り付けできません。"));
    return result.ok && result.value.toBool();
}

std::optional<EditingComponent::ScriptPresence>
WebEngineEditingComponent::scriptPresence(const QString &mention)
{
    const PageCaller::Result result = call(QStringLiteral("scriptPresence"), {mention});
    if (!result.ok)
        return std::nullopt;
    const QVariantMap answer = result.value.toMap();
    return ScriptPresence{answer.value(QStringLiteral("script")).toBool(),
                          answer.value(QStringLiteral("mentions")).toBool()};
}

bool WebEngineEditingComponent::setBgColor(const QString &colour)
{
    const PageCaller::Result result = call(QStringLiteral("setBgColor"), {colour});
    return result.ok && result.value.toBool();
}

bool WebEngineEditingComponent::setBodyAttributes(const QList<QPair<QString, QString>> &attributes)
{
    QJsonArray pairs;
    for (const auto &[name, value] : attributes)
        pairs.append(QJsonArray{name, value.isNull() ? QJsonValue() : QJsonValue(value)});
    QJsonArray args;
    args.append(pairs); // one argument, the list of pairs
    const PageCaller::Result result = call(QStringLiteral("setBodyAttributes"), args);
    return result.ok && result.value.toBool();
}

bool WebEngineEditingComponent::placeCaretAt(const QPoint &pos)
{
    if (m_browsing)
        return false;
    const QPoint at = m_view->mapFrom(this, pos);
    const qreal zoom = m_view->zoomFactor();
    const PageCaller::Result result =
        call(QStringLiteral("caretAtPoint"), {at.x() / zoom, at.y() / zoom});
    return result.ok && result.value.toBool();
}

bool WebEngineEditingComponent::busy() const
{
    return m_caller.busy() || m_loader->pending();
}

void WebEngineEditingComponent::setEditingAid(EditingAid aid, bool shown)
{
    if (m_aids.value(aid, false) == shown && m_aids.contains(aid))
        return;
    m_aids.insert(aid, shown);
    updateConfiguration();
    if (m_loader->ready() && !m_loader->pending())
        call(QStringLiteral("setOption"), {int(aid), shown});
}

void WebEngineEditingComponent::updateConfiguration()
{
    QVariantMap options;
    for (auto it = m_aids.begin(); it != m_aids.end(); ++it)
        options.insert(QString::number(int(it.key())), it.value());
    QVariantList queried;
    for (int command : kQueriedCommands)
        queried.append(command);
    m_bridge->setConfiguration({{QStringLiteral("options"), options},
                                {QStringLiteral("queried"), queried},
                                {QStringLiteral("followReports"), m_followReports}});
}

} // namespace lumipage
