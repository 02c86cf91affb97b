#include "platform/browsing/guardedpage.h"

#include <QWebEngineSettings>

namespace lumipage
{

GuardedPage::GuardedPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    QWebEngineSettings *s = settings();
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
}

void GuardedPage::loadDocument(const QUrl &url)
{
    m_allowed = url;
    load(url);
}

bool GuardedPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (!isMainFrame)
        return true;
    if (url == m_allowed && type != NavigationTypeLinkClicked)
        return true;
    // Jumps to an anchor of the same page stay inside it.
    if (url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == m_allowed)
        return true;
    if (type == NavigationTypeLinkClicked)
        emit linkRequested(url);
    return false;
}

} // namespace lumipage
