#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace lumipage
{

class DocumentSchemeHandler;

// Sends what the browse page's elements load from outside the page's folder tree
// (images, style sheets, frames, sounds, objects) to the browse scheme's other origin,
// where the files are served as a browser opening the saved page would show them. The
// page's scripts reach that origin only as a foreign one: a fetch or XMLHttpRequest
// stays on the page's own origin and is refused outside the folder, and a picture or
// frame from the other origin cannot be read back. Installed on the browse profile.
class SubresourceRouter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    SubresourceRouter(const DocumentSchemeHandler &handler, QObject *parent);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    const DocumentSchemeHandler &m_handler;
};

} // namespace lumipage
