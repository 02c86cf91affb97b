#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace lumipage
{

// The scheme the editing surface loads its page from; its URL path mirrors the
// file's path so that relative images and frames find the files beside the page.
inline constexpr char kDocumentScheme[] = "lumipage-doc";

// Registers the scheme with the engine; must run before the QApplication exists.
void registerDocumentScheme();

// Serves the current page (already decoded, sent as UTF-8) at its document URL and,
// read-only, the files in the page's own folder tree. Owned by the component.
class DocumentSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // Makes `html` the page served for `filePath`; returns the URL to load.
    QUrl setDocument(const QString &filePath, const QString &html);
    // The document URL for a file path (without the generation query).
    static QUrl documentUrl(const QString &filePath);

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    QString m_path;
    QString m_folder;
    QByteArray m_utf8;
    quint64 m_generation = 0;
};

} // namespace lumipage
