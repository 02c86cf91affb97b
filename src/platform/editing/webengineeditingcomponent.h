#pragma once

#include "document/pagedocument.h"
#include "fragments/imagemarkup.h"
#include "platform/browsing/pagetransform.h"
#include "platform/editing/editingcomponent.h"
#include "platform/editing/pagecaller.h"

#include <QHash>
#include <QMap>
#include <QThreadPool>
#include <QWebEnginePage>

#include <memory>
#include <optional>

class QStackedLayout;
class QWebChannel;
class QWebEngineProfile;
class QWebEngineView;

namespace lumipage
{

class BrowseFrame;
class BrowseSession;
class BusyIndicator;
class CommonDialog;
class ComponentDialogs;
class DocumentSchemeHandler;
class EventQueue;
class GuardedPage;
class PageBridge;
class PageKeeper;
class PageLoader;

// The editing component on QtWebEngine. Owns two views: the editing page (design
// mode, page scripts off, runtime in the application world) and, only while browse
// mode lasts, a throw-away browsing page in a profile of its own, so that nothing a
// page script does can reach the document or stall the editor. A facade over its parts:
// PageLoader (loading), PageCaller (calls into the page), EventQueue (events held back
// during calls), BrowseSession (browse mode), PageKeeper (the copy a dead page comes back
// from) and ComponentDialogs (its own dialogs).
class WebEngineEditingComponent : public EditingComponent, private PageSource
{
    Q_OBJECT
public:
    explicit WebEngineEditingComponent(QWidget *parent = nullptr);
    ~WebEngineEditingComponent() override;

    bool ExecCommand(int command, CommandOption option, const QVariant &value = {}) override;
    CommandStatus QueryStatus(int command) const override;
    QHash<int, CommandStatus> statuses() const override;
    bool LoadDocument(const QString &path) override;
    bool SaveDocument(const QString &path) override;
    std::optional<PageSnapshot> readPage() override;
    bool savePage(const QString &path, const PageSnapshot &page) override;
    bool SaveEffectsCopy(const QString &path, const QString &baseFolder = {}) override;
    void NewDocument() override;
    void Refresh() override;
    QString DocumentHTML() override;
    std::optional<quint64> pageRevision() override;
    bool setDocumentHTML(const QString &html) override;
    QString preservedHTML() override;
    QString followedHTML() override;
    void preservedHTMLLater(std::function<void(std::optional<QString>)> done) override;
    std::optional<QByteArray> unchangedOriginal() override;
    void setKeepMarkup(bool keep) override { m_document.setKeepMarkup(keep); }
    bool keepMarkup() const override { return m_document.keepMarkup(); }
    // Why the last save (or preservedHTML) wrote the whole page although the markup was
    // to be kept; empty when it kept it.
    QString keptMarkupFallback() const override { return m_document.keptFallback(); }
    PageDocument &document() override { return m_document; }
    int caretElement() override;
    void setFollowReports(bool on) override;
    int reportedCaretElement() const override { return m_reportedCaret; }
    void selectElement(int ordinal) override;
    bool replaceElement(int ordinal, const QByteArray &name, const QString &markup,
                        const QString &pageText) override;
    KeptMarkup::Check keptMarkupCheck() const { return m_document.keptCheck(); }
    void openRecovered(const QString &html, const QString &path,
                       const QByteArray &encoding) override;
    std::optional<ScriptPresence> scriptPresence(const QString &mention = {}) override;
    std::optional<std::vector<TextLook>> textLooks() override;
    void textLooksLater(std::function<void(std::optional<std::vector<TextLook>>)> done) override;
    void callLater(const QString &name, const QJsonArray &args,
                   std::function<void(const QVariant &)> answered) override;
    bool pasteHTML(const QString &fragment) override;
    bool setBgColor(const QString &colour) override;
    bool setBodyAttributes(const QList<QPair<QString, QString>> &attributes) override;
    bool replaceReferences(const QHash<QString, QString> &values) override;
    bool placeCaretAt(const QPoint &pos) override;
    bool BrowseMode() const override { return m_browsing; }
    void setBrowseMode(bool browse) override;
    QStringList statementsLeftOut() const override;
    void setSpellChecking(bool on) override;
    bool spellChecking() const override;
    Misspelling misspellingAtContextMenu() const override { return m_misspelling; }
    void replaceMisspelling(const QString &replacement) override;
    void setEditingAid(EditingAid aid, bool shown) override;
    bool editingAid(EditingAid aid) const override { return m_aids.value(aid, false); }
    bool busy() const override;
    QString lastError() const override { return m_lastError; }
    QString lastNotice() const override { return m_document.notice(); }

    QString documentPath() const override { return m_document.path(); }
    // The common dialog the component's own dialogs use (the program's one).
    void setCommonDialog(CommonDialog *dialog);
    // What a new picture from the image dialog goes in as (see ImageMarkupRoad).
    void setImageMarkupRoad(ImageMarkupRoad road);
    // What browse mode shows and the effects copy writes is the page put through
    // `transform` (the effects runtime added); until one is set, browse mode shows the
    // page as it is and the effects copy is refused.
    void setPageTransform(PageTransform transform);
    // The one the page was read in; UTF-8 for new pages.
    QByteArray documentEncoding() const override { return m_document.encoding(); }
    // How long a synchronous call may wait for the page, in milliseconds.
    void setCallTimeout(int ms) { m_timeoutMs = ms; }
    // How long a load may go without progress before it is given up, in milliseconds.
    void setLoadTimeout(int ms);
    // Runs a runtime operation synchronously (the component's one road into the page).
    PageCaller::Result call(const QString &name, const QJsonArray &args = {});
    // How many calls went into the page so far (each one a trip to the engine's process).
    quint64 pageCallsMade() const { return m_caller.callsMade(); }
    // The copy of the page kept for recovery.
    PageKeeper &keeper() { return *m_keeper; }

private:
    // Makes a new editing page on the view (at start, and after the page's process died).
    void createPage();
    bool insertTable(const InsertTableParam &param);
    // The page in one trip: its HTML in DocumentHTML's form and, `forSave` (when the
    // markup is kept and there is an original to keep), what changed since the load;
    // nullopt (lastError says why) when unreadable. For a save the form is made on a
    // worker thread.
    std::optional<PageSnapshot> readDocument(bool forSave);
    // The page as the runtime's documentMarkup answered it; its text formed on a worker
    // (`onWorker`) or at once.
    PageSnapshot snapshotOf(const QVariant &answer, bool onWorker);
    // The page's change count as pageRevision gives it.
    quint64 revisionOf(quint32 pageCount) const;
    // The page's HTML in DocumentHTML's form; nullopt when unreadable.
    std::optional<QString> readHtml();
    // What the document asks of the page while it writes (see PageSource).
    std::optional<PageChanges> pageChanges(bool withMarkup, QString *why) override;
    std::optional<QStringList> stretchMarkup(const std::vector<MarkupRegion> &regions,
                                             QString *why) override;
    // Begins a load of `html` as the page of `path`: a new page unless it is restored.
    void startLoad(const QString &path, const QString &html);
    // Waits for a pending load; false (lastError says why) when it failed.
    bool waitForLoad();
    void onRuntimeReady(const QString &url);
    void onStatuses(const QVariantMap &statuses, int revision, int caret, const QVariant &kept);
    void onRendererDied(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);
    void onBrowseRendererDied();
    void onContextMenuRequested(const QPoint &pos);
    void updateConfiguration();
    void showContextMenu();
    void fail(const QString &message);
    QString pageLocation() const;

    QWebEngineProfile *m_profile = nullptr;
    DocumentSchemeHandler *m_handler = nullptr;
    GuardedPage *m_page = nullptr;
    QWebEngineView *m_view = nullptr;
    QWebChannel *m_channel = nullptr;
    PageBridge *m_bridge = nullptr;
    QStackedLayout *m_stack = nullptr;
    PageCaller m_caller;
    BusyIndicator *m_busy = nullptr;
    PageLoader *m_loader = nullptr;
    EventQueue *m_events = nullptr;
    BrowseSession *m_browse = nullptr;
    BrowseFrame *m_browseFrame = nullptr; // browse mode's width bar and stage
    PageKeeper *m_keeper = nullptr;
    std::unique_ptr<ComponentDialogs> m_dialogs;
    PageTransform m_transform;

    int m_revision = 0;
    quint32 m_loads = 0; // pages loaded so far
    bool m_followReports = false;
    int m_reportedCaret = -1;
    // What the page reported with its last change (see PageBridge), and how many calls had
    // gone into the page then: good only while no call has changed it since.
    QVariant m_reportedKept;
    quint64 m_reportedKeptAt = 0;
    bool m_restoring = false; // a reload after the page's process died
    QString m_restoreMessage;
    bool m_browsing = false;
    int m_timeoutMs = 15000;
    QHash<int, CommandStatus> m_statuses;
    QMap<EditingAid, bool> m_aids;
    // Where the pending right click landed, in the coordinates of the view it hit.
    QPoint m_contextMenuPos;
    // The misspelt word the pending right click landed on, with the checker's suggestions.
    Misspelling m_misspelling;
    QString m_lastError;
    PageDocument m_document;
    QThreadPool m_forming; // forms a save's reading while the save goes on
};

} // namespace lumipage
