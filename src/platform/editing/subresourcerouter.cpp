#include "platform/editing/subresourcerouter.h"

#include "platform/editing/documentscheme.h"

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
    if (url.scheme() != QLatin1String(kBrowseScheme) || url.host() != QLatin1String(kPageHost))
        return;
    // Only loads an element makes; scripts (fetch, XMLHttpRequest, workers, script
    // files) stay confined to the folder tree.
    switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
    case QWebEngineUrlRequestInfo::ResourceTypeObject:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        break;
    default:
        return;
    }
    if (m_handler.servesOnPageHost(QDir::cleanPath(url.path())))
        return;
    QUrl outside = url;
    outside.setHost(QString::fromLatin1(kFilesHost));
    info.redirect(outside);
}

} // namespace lumipage
