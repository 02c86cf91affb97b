#include "platform/browsing/subresourcerouter.h"

#include "platform/browsing/documentscheme.h"

#include <QDir>

namespace lumipage
{

SubresourceRouter::SubresourceRouter(const DocumentSchemeHandler &handler, QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent), m_handler(handler)
{
}

void SubresourceRouter::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl url = info.requestUrl();
    if (url.scheme() != QLatin1String(kBrowseScheme))
        return;
    // Only loads an element makes; scripts (fetch, XMLHttpRequest, workers, script
    // files) stay confined to the folder tree.
    bool element = false;
    switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
    case QWebEngineUrlRequestInfo::ResourceTypeObject:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        element = true;
        break;
    default:
        break;
    }
    if (url.host() == QLatin1String(kFilesHost)) {
        info.block(!element);
        return;
    }
    if (!element || url.host() != QLatin1String(kPageHost) ||
        m_handler.servesOnPageHost(QDir::cleanPath(url.path())))
        return;
    QUrl outside = url;
    outside.setHost(QString::fromLatin1(kFilesHost));
    info.redirect(outside);
}

} // namespace lumipage
