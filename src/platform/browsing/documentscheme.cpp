#include "platform/browsing/documentscheme.h"

#include "platform/browsing/shownfiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrlQuery>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace lumipage
{

void registerDocumentScheme()
{
    QWebEngineUrlScheme edit(kDocumentScheme);
    // One fixed host: every page is then the same site to the engine, which keeps one
    // renderer for the editor instead of starting a new one for each page it loads.
    edit.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // The edit page runs no page scripts; local access lets it show images that a page
    // names by an absolute local path.
    edit.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                  QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(edit);

    // Browse mode runs the page's scripts, which may come from anywhere: no rights beyond
    // those of an ordinary web page, and not a secure context (so no powerful features).
    QWebEngineUrlScheme browse(kBrowseScheme);
    browse.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    browse.setFlags({});
    QWebEngineUrlScheme::registerScheme(browse);
}

DocumentSchemeHandler::DocumentSchemeHandler(const char *scheme, QObject *parent)
    : QWebEngineUrlSchemeHandler(parent), m_scheme(QString::fromLatin1(scheme))
{
}

QUrl DocumentSchemeHandler::documentUrl(const QString &filePath) const
{
    QUrl url;
    url.setScheme(m_scheme);
    url.setHost(QString::fromLatin1(kPageHost));
    url.setPath(QDir::cleanPath(QFileInfo(filePath).absoluteFilePath()));
    return url;
}

QUrl DocumentSchemeHandler::setDocument(const QString &filePath, const QString &html)
{
    QUrl url = documentUrl(filePath);
    m_path = url.path();
    m_folder = QFileInfo(m_path).path();
    if (m_scheme == QLatin1String(kBrowseScheme)) {
        // What a browser opening the saved file shows, the browse page shows from the
        // files origin: the files the markup and its CSS name, file: URLs included.
        m_shown = shownfiles::filesShown(html, m_folder);
        m_utf8 = shownfiles::withFileUrlsOn(html, filesOrigin()).toUtf8();
    } else {
        m_shown.clear();
        m_utf8 = html.toUtf8();
    }
    // A new query per load makes the engine fetch the page again instead of reusing it.
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("load"), QString::number(++m_generation));
    url.setQuery(query);
    return url;
}

QString DocumentSchemeHandler::filesOrigin() const
{
    return m_scheme + QLatin1String("://") + QLatin1String(kFilesHost);
}

bool DocumentSchemeHandler::servesOnPageHost(const QString &path) const
{
    if (path == m_path)
        return true;
    // Both the name and the real file must lie in the folder tree: a link inside it
    // may point anywhere.
    const auto inside = [](const QString &file, const QString &folder) {
        return !folder.isEmpty() &&
               file.startsWith(folder.endsWith(QLatin1Char('/')) ? folder
                                                                 : folder + QLatin1Char('/'));
    };
    const QString realFolder = QFileInfo(m_folder).canonicalFilePath();
    const QString realFile = QFileInfo(path).canonicalFilePath();
    return inside(path, m_folder) && (realFile.isEmpty() || inside(realFile, realFolder));
}

void DocumentSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job)
{
    const QUrl url = job->requestUrl();
    const QString path = QDir::cleanPath(url.path());
    if (job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const bool filesHost = url.host() == QLatin1String(kFilesHost);
    if (path == m_path && !filesHost) {
        auto *buffer = new QBuffer(job);
        buffer->setData(m_utf8);
        job->reply("text/html;charset=utf-8", buffer);
        return;
    }
    // Browse mode's own origin reaches only its folder tree; the other origin and the
    // edit page, where no page script runs, reach the files the page names.
    const bool browse = m_scheme == QLatin1String(kBrowseScheme);
    if (browse && (filesHost ? !m_shown.contains(path) : !servesOnPageHost(path))) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    auto *file = new QFile(path, job);
    if (!QFileInfo(path).isFile() || !file->open(QIODevice::ReadOnly)) {
        delete file;
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    static const QMimeDatabase mimes;
    const QByteArray mime = mimes.mimeTypeForFile(path).name().toLatin1();
    if (browse && mime == "text/css" && file->size() < (4 << 20)) {
        // A style sheet may name pictures by file: URL too. Read as Latin-1, so that the
        // sheet's own bytes come back unchanged whatever its encoding.
        auto *sheet = new QBuffer(job);
        sheet->setData(
            shownfiles::cssWithFileUrlsOn(QString::fromLatin1(file->readAll()), filesOrigin())
                .toLatin1());
        delete file;
        job->reply(mime, sheet);
        return;
    }
    job->reply(mime, file);
}

} // namespace lumipage
