#include "platform/editing/browsesession.h"

#include "platform/editing/documentscheme.h"
#include "platform/editing/guardedpage.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace lumipage
{

namespace
{

// Browse mode runs scripts of pages from anywhere: they get what an ordinary web page
// gets from a cautious browser, and nothing that reaches the user's files or devices.
void confine(GuardedPage *page)
{
    QWebEngineSettings *s = page->settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    s->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    s->setAttribute(QWebEngineSettings::AllowGeolocationOnInsecureOrigins, false);
    s->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    s->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);

    // Every permission is refused without asking the user.
    QObject::connect(page, &QWebEnginePage::featurePermissionRequested, page,
                     [page](const QUrl &origin, QWebEnginePage::Feature feature) {
                         page->setFeaturePermission(origin, feature,
                                                    QWebEnginePage::PermissionDeniedByUser);
                     });
    QObject::connect(page, &QWebEnginePage::fullScreenRequested, page,
                     [](QWebEngineFullScreenRequest request) { request.reject(); });
    QObject::connect(page, &QWebEnginePage::fileSystemAccessRequested, page,
                     [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    QObject::connect(page, &QWebEnginePage::registerProtocolHandlerRequested, page,
                     [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

} // namespace

BrowseSession::BrowseSession(QObject *parent) : QObject(parent) {}

QWebEngineView *BrowseSession::start(const QString &path, const QString &html, QWidget *parent)
{
    if (!m_profile) {
        m_profile = new QWebEngineProfile(this); // off the record: nothing kept on disk
        m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        m_handler = new DocumentSchemeHandler(kBrowseScheme, this);
        m_profile->installUrlSchemeHandler(kBrowseScheme, m_handler);
        // A page may not save anything to the user's disk.
        connect(m_profile, &QWebEngineProfile::downloadRequested, this,
                [](QWebEngineDownloadRequest *download) { download->cancel(); });
    }
    stop();
    m_view = new QWebEngineView(parent);
    auto *page = new GuardedPage(m_profile, m_view);
    confine(page);
    connect(page, &GuardedPage::linkRequested, this, &BrowseSession::linkActivated);
    m_view->setPage(page);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    page->loadDocument(m_handler->setDocument(path, html));
    return m_view;
}

void BrowseSession::stop()
{
    if (m_view)
        m_view->deleteLater();
    m_view = nullptr;
}

} // namespace lumipage
