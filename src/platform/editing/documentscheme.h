#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace lumipage
{

// The scheme the editing surface loads its page from; its URL path mirrors the
// file's path so that relative images and frames find the files beside the page.
// Page scripts never run on it, and it may show images the page names by a local path.
inline constexpr char kDocumentScheme[] = "lumipage-doc";
// The scheme browse mode shows its copy on, where the page's own scripts run. It has no
// local-access rights: a page there reaches no file: or qrc: address and no other
// scheme of ours, only the files of its own folder tree through its handler.
inline constexpr char kBrowseScheme[] = "lumipage-view";

// Registers both schemes with the engine; must run before the QApplication exists.
void registerDocumentScheme();

// Serves the current page (already decoded, sent as UTF-8) at its document URL and,
// read-only, the files in the page's own folder tree. Owned by the component.
class DocumentSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    // A handler for `scheme` (kDocumentScheme or kBrowseScheme).
    explicit DocumentSchemeHandler(const char *scheme, QObject *parent = nullptr);

    // Makes `html` the page served for `filePath`; returns the URL to load.
    QUrl setDocument(const QString &filePath, const QString &html);
    // The document URL for a file path (without the generation query).
    QUrl documentUrl(const QString &filePath) const;

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    QString m_scheme;
    QString m_path;
    QString m_folder;
    QByteArray m_utf8;
    quint64 m_generation = 0;
};

} // namespace lumipage
