#include "platform/browsing/browseprofile.h"

#include "platform/browsing/documentscheme.h"
#include "platform/browsing/subresourcerouter.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

namespace lumipage
{

BrowseProfile::BrowseProfile(QObject *parent)
    : QObject(parent), m_profile(new QWebEngineProfile(this)), // off the record: nothing on disk
      m_handler(new DocumentSchemeHandler(kBrowseScheme, this))
{
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->installUrlSchemeHandler(kBrowseScheme, m_handler);
    // Elements show files outside the page's folder as the saved page would.
    m_profile->setUrlRequestInterceptor(new SubresourceRouter(*m_handler, m_profile));
    // A page may not save anything to the user's disk.
    connect(m_profile, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest *download) { download->cancel(); });
}

} // namespace lumipage
