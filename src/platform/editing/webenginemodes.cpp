// The editing component's modes (editing and browsing) and its right-click requests.
#include "platform/editing/webengineeditingcomponent.h"

#include "platform/browsing/browsesession.h"
#include "platform/editing/eventqueue.h"

#include <QFileInfo>
#include <QStackedLayout>
#include <QWebEngineView>

namespace lumipage
{

// --- modes ---------------------------------------------------------------------------

QStringList WebEngineEditingComponent::statementsLeftOut() const
{
    return m_browsing ? m_browse->leftOut() : QStringList();
}

void WebEngineEditingComponent::setBrowseMode(bool browse)
{
    if (browse == m_browsing)
        return;
    if (browse) {
        const std::optional<QString> html = readHtml();
        if (!html)
            return;
        const QString name = m_path.isEmpty() ? tr("新しいページ") : QFileInfo(m_path).fileName();
        QWebEngineView *view = m_browse->start(pageLocation(), name, *html, this);
        connect(view, &QWidget::customContextMenuRequested, this,
                &WebEngineEditingComponent::onContextMenuRequested);
        m_stack->addWidget(view);
        m_stack->setCurrentWidget(view);
        setFocusProxy(view);
        m_browsing = true;
    } else {
        m_stack->setCurrentWidget(m_view);
        setFocusProxy(m_view);
        if (m_browse->view())
            m_stack->removeWidget(m_browse->view());
        m_browse->stop();
        m_browsing = false;
        m_events->queue(EventQueue::DocumentComplete);
    }
    m_events->queue(EventQueue::DisplayChanged);
}

// --- context menu --------------------------------------------------------------------

void WebEngineEditingComponent::onContextMenuRequested(const QPoint &pos)
{
    m_contextMenuPos = pos;
    m_events->queue(EventQueue::ContextMenu);
}

void WebEngineEditingComponent::showContextMenu()
{
    QWidget *surface = m_browsing && m_browse->view() ? m_browse->view() : m_view;
    emit contextMenuRequested(surface->mapToGlobal(m_contextMenuPos));
}

} // namespace lumipage
