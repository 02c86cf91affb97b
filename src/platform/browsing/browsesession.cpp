#include "platform/browsing/browsesession.h"

#include "platform/browsing/browsepage.h"
#include "platform/browsing/documentscheme.h"

#include <QWebEngineProfile>
#include <QWebEngineView>

namespace lumipage
{

BrowseSession::BrowseSession(QObject *parent) : QObject(parent) {}

QWebEngineView *BrowseSession::start(const QString &path, const QString &pageName,
                                     const QString &html, QWidget *parent)
{
    if (!m_profile)
        m_profile = new BrowseProfile(this);
    stop();
    m_view = new QWebEngineView(parent);
    // Laid out at its final size before the page loads, so that what runs on load (a
    // reveal measuring its box) sees the page as it will be shown.
    if (parent)
        m_view->resize(parent->size());
    auto *page = new BrowsePage(m_profile->profile(), pageName, m_view);
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
    page.loadDocument(m_profile->handler()->setDocument(m_path, shown.html));
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
