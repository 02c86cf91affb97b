#pragma once

#include "platform/editing/editingcomponent.h"
#include "platform/editing/pagecaller.h"

#include <QHash>
#include <QMap>
#include <QPointer>
#include <QUrl>

#include <memory>
#include <optional>

class QStackedLayout;
class QWebChannel;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;

namespace lumipage
{

class BrowseSession;
class BusyIndicator;
class CommonDialog;
class ComponentDialogs;
class DocumentSchemeHandler;
class GuardedPage;
class PageBridge;
class PageKeeper;

// The editing component on QtWebEngine. Owns two views: the editing page (design
// mode, page scripts off, runtime in the application world) and, only while browse
// mode lasts, a throw-away browsing page in a profile of its own, so that nothing a
// page script does can reach the document or stall the editor.
class WebEngineEditingComponent : public EditingComponent
{
    Q_OBJECT
public:
    explicit WebEngineEditingComponent(QWidget *parent = nullptr);
    ~WebEngineEditingComponent() override;

    bool ExecCommand(int command, int option, const QVariant &value = {}) override;
    int QueryStatus(int command) const override;
    bool LoadDocument(const QString &path) override;
    bool SaveDocument(const QString &path) override;
    bool SaveEffectsCopy(const QString &path) override;
    void NewDocument() override;
    void Refresh() override;
    QString DocumentHTML() override;
    bool setDocumentHTML(const QString &html) override;
    void openRecovered(const QString &html, const QString &path,
                       const QByteArray &encoding) override;
    bool pasteHTML(const QString &fragment) override;
    bool setBgColor(const QString &colour) override;
    bool BrowseMode() const override { return m_browsing; }
    void setBrowseMode(bool browse) override;
    QStringList statementsLeftOut() const override;
    void setOption(int number, bool value) override;
    bool option(int number) const override { return m_options.value(number, false); }
    void SetContextMenu(const QStringList &texts, const QList<int> &states) override;
    QString lastError() const override { return m_lastError; }
    QString lastNotice() const override { return m_notice; }

    QString documentPath() const override { return m_path; }
    // The common dialog the component's own dialogs use (the program's one).
    void setCommonDialog(CommonDialog *dialog);
    // The one the page was read in; UTF-8 for new pages.
    QByteArray documentEncoding() const override { return m_encoding; }
    // How long a synchronous call may wait for the page, in milliseconds.
    void setCallTimeout(int ms) { m_timeoutMs = ms; }
    // How long a load may go without progress before it is given up, in milliseconds.
    void setLoadTimeout(int ms) { m_loadTimeoutMs = ms; }
    // Runs a runtime operation synchronously (the component's one road into the page).
    PageCaller::Result call(const QString &name, const QJsonArray &args = {});
    // The copy of the page kept for recovery.
    PageKeeper &keeper() { return *m_keeper; }

private:
    // Makes a new editing page on the view (at start, and after the page's process died).
    void createPage();
    bool insertTable(const InsertTableParam &param);
    // The page's HTML in DocumentHTML's form; nullopt (lastError says why) when unreadable.
    std::optional<QString> readDocument();
    void startLoad(const QString &path, const QString &html);
    // Waits for the pending load while the engine makes progress; false (lastError says
    // why) when it fails or stops making progress for the load timeout.
    bool waitForLoad();
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void onRuntimeReady(const QString &url);
    void onStatuses(const QVariantMap &statuses, int revision);
    void onRendererDied();
    void onBrowseRendererDied();
    void onContextMenuRequested(const QPoint &pos);
    void updateConfiguration();
    void queueEvent(int event);
    void deliverEvents();
    void showContextMenu(const QPoint &pos);
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

    BrowseSession *m_browse = nullptr;
    PageKeeper *m_keeper = nullptr;
    int m_revision = 0;
    bool m_restoring = false; // a reload after the page's process died
    QString m_restoreMessage;
    BusyIndicator *m_busy = nullptr;
    std::unique_ptr<ComponentDialogs> m_dialogs;

    QString m_path;
    QByteArray m_encoding = "UTF-8";
    QUrl m_loadingUrl;
    bool m_loadPending = false;
    bool m_loadFailed = false;
    int m_loadTicks = 0; // grows while a load makes progress
    bool m_runtimeReady = false;
    bool m_browsing = false;
    int m_timeoutMs = 15000;
    int m_loadTimeoutMs = 15000;
    QHash<int, int> m_statuses;
    QMap<int, bool> m_options;
    int m_pendingEvents = 0;
    bool m_deliveryScheduled = false;
    QPoint m_menuPos;
    QStringList m_menuTexts;
    QList<int> m_menuStates;
    bool m_menuSet = false;
    QString m_lastError;
    QString m_notice;
};

} // namespace lumipage
