#include "platform/browsing/browsesession.h"

#include "platform/browsing/browsepage.h"
#include "platform/browsing/documentscheme.h"
#include "platform/browsing/subresourcerouter.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace lumipage
{

BrowseSession::BrowseSession(QObject *parent) : QObject(parent) {}

QWebEngineView *BrowseSession::start(const QString &path, const QString &pageName,
                                     const QString &html, QWidget *parent)
{
    if (!m_profile) {
        m_profile = new QWebEngineProfile(this); // off the record: nothing kept on disk
        m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        m_handler = new DocumentSchemeHandler(kBrowseScheme, this);
        m_profile->installUrlSchemeHandler(kBrowseScheme, m_handler);
        // Elements show files outside the page's folder as the saved page would.
        m_profile->setUrlRequestInterceptor(new SubresourceRouter(*m_handler, m_profile));
        // A page may not save anything to the user's disk.
        connect(m_profile, &QWebEngineProfile::downloadRequested, this,
                [](QWebEngineDownloadRequest *download) { download->cancel(); });
    }
    stop();
    m_view = new QWebEngineView(parent);
    // Laid out at its final size before the page loads, so that what runs on load (a
    // reveal measuring its box) sees the page as it will be shown.
    if (parent)
        m_view->resize(parent->size());
    auto *page = new BrowsePage(m_profile, pageName, m_view);
    connect(page, &GuardedPage::linkRequested, this, &BrowseSession::linkActivated);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &BrowseSession::rendererDied,
            Qt::QueuedConnection);
    m_view->setPage(page);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    // The copy is transformed (it carries the effects runtime); the document itself
    // never sees that.
    m_path = path;
    show(*page, html);
    return m_view;
}

bool BrowseSession::replace(const QString &html)
{
    auto *page = m_view ? qobject_cast<BrowsePage *>(m_view->page()) : nullptr;
    if (!page)
        return false;
    show(*page, html);
    return true;
}

void BrowseSession::show(BrowsePage &page, const QString &html)
{
    const TransformedPage shown = m_transform ? m_transform(html) : TransformedPage{html, {}};
    m_leftOut.clear();
    for (const auto &[line, what] : shown.leftOut)
        m_leftOut << tr("%1 行目: %2").arg(line).arg(what);
    page.loadDocument(m_handler->setDocument(m_path, shown.html));
}

void BrowseSession::reload()
{
    if (m_view)
        m_view->page()->triggerAction(QWebEnginePage::Reload);
}

void BrowseSession::stop()
{
    if (m_view)
        m_view->deleteLater();
    m_view = nullptr;
}

} // namespace lumipage
