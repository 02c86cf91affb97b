#include "platform/editing/browsesession.h"

#include "platform/editing/documentscheme.h"
#include "platform/editing/guardedpage.h"

#include <QWebEngineProfile>
#include <QWebEngineView>

namespace lumipage
{

BrowseSession::BrowseSession(QObject *parent) : QObject(parent) {}

QWebEngineView *BrowseSession::start(const QString &path, const QString &html, QWidget *parent)
{
    if (!m_profile) {
        m_profile = new QWebEngineProfile(this);
        m_handler = new DocumentSchemeHandler(this);
        m_profile->installUrlSchemeHandler(kDocumentScheme, m_handler);
    }
    stop();
    m_view = new QWebEngineView(parent);
    auto *page = new GuardedPage(m_profile, m_view);
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
