// The editing component's modes (editing and browsing), its right-click requests and its
// spell checking.
#include "platform/editing/webengineeditingcomponent.h"

#include "platform/browsing/browseframe.h"
#include "platform/browsing/browsesession.h"
#include "platform/browsing/guardedpage.h"
#include "platform/editing/eventqueue.h"

#include <QFileInfo>
#include <QStackedLayout>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineProfile>
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
        const QString path = m_document.path();
        const QString name = path.isEmpty() ? tr("新しいページ") : QFileInfo(path).fileName();
        // The frame first, so that the view has its place at the chosen width before
        // the page loads (what runs on load measures the page as it is shown).
        m_stack->setCurrentWidget(m_browseFrame);
        QWebEngineView *view = m_browse->start(pageLocation(), name, *html, m_browseFrame->stage());
        m_browseFrame->setView(view);
        view->show();
        connect(view, &QWidget::customContextMenuRequested, this,
                &WebEngineEditingComponent::onContextMenuRequested);
        setFocusProxy(view);
        m_browsing = true;
    } else {
        m_stack->setCurrentWidget(m_view);
        setFocusProxy(m_view);
        m_browseFrame->setView(nullptr);
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
    m_misspelling = {};
    // The engine tells what the click landed on while it asks for the menu.
    const QWebEngineContextMenuRequest *request = m_view->lastContextMenuRequest();
    // Once checking is off, nothing is offered, even before the page has dropped its marks.
    if (!m_browsing && request && m_profile->isSpellCheckEnabled())
        m_misspelling = {request->misspelledWord(), request->spellCheckerSuggestions()};
    m_events->queue(EventQueue::ContextMenu);
}

void WebEngineEditingComponent::showContextMenu()
{
    QWidget *surface = m_browsing && m_browse->view() ? m_browse->view() : m_view;
    emit contextMenuRequested(surface->mapToGlobal(m_contextMenuPos));
}

// --- spelling --------------------------------------------------------------------------

// The checker belongs to the editing page's profile; browse mode's profile has none.
void WebEngineEditingComponent::setSpellChecking(bool on)
{
    m_profile->setSpellCheckEnabled(on);
}

bool WebEngineEditingComponent::spellChecking() const
{
    return m_profile->isSpellCheckEnabled();
}

void WebEngineEditingComponent::replaceMisspelling(const QString &replacement)
{
    // The engine replaces the word the right click landed on; the page's history records
    // the change as one step.
    m_page->replaceMisspelledWord(replacement);
}

} // namespace lumipage
