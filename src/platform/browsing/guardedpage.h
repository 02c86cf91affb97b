#pragma once

#include <QUrl>
#include <QWebEnginePage>

namespace lumipage
{

// A page that never navigates away from the document it was given: main-frame
// navigation is allowed only to the URL the component loads; a clicked link is
// reported instead, and new windows are refused. Frames inside the page load freely.
class GuardedPage : public QWebEnginePage
{
    Q_OBJECT
public:
    // A page with plugins, PDF viewer, DNS prefetch and script-opened windows off.
    GuardedPage(QWebEngineProfile *profile, QObject *parent);

    // Loads `url`, the only main-frame address this page accepts from now on.
    void loadDocument(const QUrl &url);

signals:
    // The user followed a link; the page stays where it is.
    void linkRequested(const QUrl &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int,
                                  const QString &) override
    {
    }

private:
    QUrl m_allowed;
};

} // namespace lumipage
