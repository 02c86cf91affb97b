#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace lumipage
{

// The scheme the editing surface loads its page from; its URL path mirrors the
// file's path so that relative images and frames find the files beside the page.
// Page scripts never run on it, so it serves any local file the page names.
inline constexpr char kDocumentScheme[] = "lumipage-doc";
// The scheme browse mode shows its copy on, where the page's own scripts run. It has no
// local-access rights: a page there reaches no file: or qrc: address and no other
// scheme of ours, only the files of its own folder tree through its handler. Files the
// page's elements name outside that tree (an image by absolute path or "../") come from
// another origin of the scheme, kFilesHost, which scripts of the page cannot read.
inline constexpr char kBrowseScheme[] = "lumipage-view";

// The host of the page itself and its folder tree, and the host of other local files.
inline constexpr char kPageHost[] = "page";
inline constexpr char kFilesHost[] = "files";

// Registers both schemes with the engine; must run before the QApplication exists.
void registerDocumentScheme();

// Serves the current page (already decoded, sent as UTF-8) at its document URL and,
// read-only, local files: on the edit scheme any file the page names; on the browse
// scheme the files of the page's own folder tree (symbolic links leading out of it are
// refused) on kPageHost, and on kFilesHost only the files the page's own markup shows
// (so a script cannot make an element load, and then read, any other). Owned by the
// component.
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

    // Whether the browse page's own origin serves `path`: the document, or a file whose
    // real location lies in the page's folder tree.
    bool servesOnPageHost(const QString &path) const;

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    // "scheme://files": where the browse page's elements find files outside its tree.
    QString filesOrigin() const;

    QString m_scheme;
    QString m_path;
    QString m_folder;
    QByteArray m_utf8;
    QSet<QString> m_shown; // files the page's elements show, for kFilesHost
    quint64 m_generation = 0;
};

} // namespace lumipage
