#include "transfer/curlsite.h"

#include "transfer/certificatepin.h"
#include "transfer/curlerrors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <curl/curl.h>

namespace lumipage
{

namespace
{

using Protocol = PublishTarget::Protocol;

// A list of strings for libcurl, freed with its owner.
class Slist
{
public:
    ~Slist() { curl_slist_free_all(m_list); }
    void append(const QByteArray &line) { m_list = curl_slist_append(m_list, line.constData()); }
    curl_slist *get() const { return m_list; }

private:
    curl_slist *m_list = nullptr;
};

int onProgress(void *data, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent)
{
    auto *site = static_cast<CurlSite *>(data);
    if (site->m_progress)
        site->m_progress(sent);
    return site->m_cancel && *site->m_cancel ? 1 : 0;
}

size_t readFile(char *buffer, size_t size, size_t count, void *file)
{
    const qint64 read = static_cast<QFile *>(file)->read(buffer, qint64(size * count));
    return read < 0 ? CURL_READFUNC_ABORT : size_t(read);
}

// An upload may start again from the beginning (an HTTP server asking for credentials
// after the first bytes).
int seekFile(void *file, curl_off_t offset, int origin)
{
    if (origin != SEEK_SET)
        return CURL_SEEKFUNC_CANTSEEK;
    return static_cast<QFile *>(file)->seek(qint64(offset)) ? CURL_SEEKFUNC_OK : CURL_SEEKFUNC_FAIL;
}

size_t discard(char *, size_t size, size_t count, void *)
{
    return size * count;
}

int checkHostKey(CURL *, const curl_khkey *, const curl_khkey *found, curl_khmatch match,
                 void *data)
{
    auto *site = static_cast<CurlSite *>(data);
    const QByteArray raw = found->len ? QByteArray(found->key, qsizetype(found->len))
                                      : QByteArray::fromBase64(found->key);
    site->m_fingerprint =
        QStringLiteral("SHA256:") +
        QString::fromLatin1(QCryptographicHash::hash(raw, QCryptographicHash::Sha256)
                                .toBase64(QByteArray::OmitTrailingEquals));
    switch (match) {
    case CURLKHMATCH_OK:
        site->m_hostKey = CurlSite::HostKey::Known;
        return CURLKHSTAT_FINE;
    case CURLKHMATCH_MISMATCH:
        site->m_hostKey = CurlSite::HostKey::Changed;
        return CURLKHSTAT_REJECT;
    default:
        if (site->m_fingerprint == site->m_acceptedHostKey) {
            site->m_hostKey = CurlSite::HostKey::Known;
            return CURLKHSTAT_FINE_ADD_TO_FILE;
        }
        site->m_hostKey = CurlSite::HostKey::Unknown;
        return CURLKHSTAT_REJECT;
    }
}

QString parentOf(const QString &relative)
{
    const qsizetype slash = relative.lastIndexOf(u'/');
    return slash < 0 ? QString() : relative.left(slash);
}

} // namespace

QString RemoteSite::temporaryName(const QString &relative)
{
    const QString folder = parentOf(relative);
    const QString name = QStringLiteral(".%1.lumipage-part")
                             .arg(relative.mid(folder.size() ? folder.size() + 1 : 0));
    return folder.isEmpty() ? name : folder + u'/' + name;
}

CurlSite::CurlSite(const PublishTarget &target, const Options &options)
    : m_acceptedHostKey(options.acceptedHostKey), m_cancel(options.cancel), m_target(target),
      m_knownHosts(options.knownHostsFile), m_curl(curl_easy_init())
{
    if (!m_knownHosts.isEmpty())
        QDir().mkpath(QFileInfo(m_knownHosts).path());
}

CurlSite::~CurlSite()
{
    curl_easy_cleanup(m_curl);
}

void CurlSite::prepare(const QString &url)
{
    // A reset keeps the open connection; each call then sets all it needs.
    curl_easy_reset(m_curl);
    m_progress = {};
    m_errorText[0] = 0;
    curl_easy_setopt(m_curl, CURLOPT_URL, url.toUtf8().constData());
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_errorText);
    curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, 20L);
    // A server that stops answering midway: under 1 byte/s for 30 s is a broken line.
    curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, 30L);
    curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, discard);
    if (!m_target.user.isEmpty())
        curl_easy_setopt(m_curl, CURLOPT_USERNAME, m_target.user.toUtf8().constData());
    if (!m_target.password.isEmpty())
        curl_easy_setopt(m_curl, CURLOPT_PASSWORD, m_target.password.toUtf8().constData());
    if (!m_target.certificatePin.isEmpty()) {
        // The author's trust replaces the authorities': the key must be the one accepted.
        curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 0L);
        curl_easy_setopt(m_curl, CURLOPT_PINNEDPUBLICKEY,
                         m_target.certificatePin.toLatin1().constData());
    }
    switch (m_target.protocol) {
    case Protocol::Ftps:
        curl_easy_setopt(m_curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        // Servers that demand the data connection resume the control connection's TLS
        // session (vsftpd's default) refuse every file after the first under TLS 1.3,
        // whose session tickets libcurl does not carry over to a reused connection.
        curl_easy_setopt(m_curl, CURLOPT_SSLVERSION,
                         long(CURL_SSLVERSION_TLSv1_2 | CURL_SSLVERSION_MAX_TLSv1_2));
        [[fallthrough]];
    case Protocol::Ftp:
        if (!m_target.passive)
            curl_easy_setopt(m_curl, CURLOPT_FTPPORT, "-");
        break;
    case Protocol::Sftp:
        curl_easy_setopt(m_curl, CURLOPT_SSH_AUTH_TYPES,
                         long(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_AGENT |
                              CURLSSH_AUTH_KEYBOARD));
        if (!m_target.keyFile.isEmpty())
            curl_easy_setopt(m_curl, CURLOPT_SSH_PRIVATE_KEYFILE,
                             QFile::encodeName(m_target.keyFile).constData());
        curl_easy_setopt(m_curl, CURLOPT_SSH_KNOWNHOSTS,
                         QFile::encodeName(m_knownHosts).constData());
        curl_easy_setopt(m_curl, CURLOPT_SSH_KEYFUNCTION, checkHostKey);
        curl_easy_setopt(m_curl, CURLOPT_SSH_KEYDATA, this);
        break;
    case Protocol::WebDav:
        // Over TLS the credentials go with the first request; in the clear the server is
        // asked first which method it takes, so Digest is used where it is offered. (An
        // upload that is asked for credentials midway must start again.)
        curl_easy_setopt(m_curl, CURLOPT_HTTPAUTH,
                         long(m_target.url(QString()).startsWith(QLatin1String("https:"))
                                  ? CURLAUTH_BASIC
                                  : CURLAUTH_ANY));
        break;
    case Protocol::Folder:
        break;
    }
}

TransferError CurlSite::perform(const QString &relative)
{
    const CURLcode code = curl_easy_perform(m_curl);
    m_lastCode = int(code);
    long response = 0;
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &response);
    const bool webDav = m_target.protocol == Protocol::WebDav;
    if (code == CURLE_OK && !(webDav && response >= 400))
        return {};
    TransferError error =
        curlerrors::map(int(code), int(response), webDav, QString::fromUtf8(m_errorText));
    if (m_hostKey == HostKey::Unknown || m_hostKey == HostKey::Changed)
        error.kind = m_hostKey == HostKey::Unknown ? TransferError::Kind::HostKeyUnknown
                                                   : TransferError::Kind::HostKeyChanged;
    error.fingerprint = m_fingerprint;
    error.file = relative;
    if (error.kind == TransferError::Kind::Certificate && m_target.certificatePin.isEmpty())
        error.fingerprint = certificateKey();
    return error;
}

QString CurlSite::certificateKey()
{
    // A second connection that does not verify, only to read the certificate it is shown.
    CURL *probe = curl_easy_init();
    curl_easy_setopt(probe, CURLOPT_URL, m_target.url(QString()).toUtf8().constData());
    curl_easy_setopt(probe, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(probe, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(probe, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(probe, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(probe, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(probe, CURLOPT_CERTINFO, 1L);
    curl_easy_setopt(probe, CURLOPT_WRITEFUNCTION, discard);
    if (m_target.protocol == Protocol::Ftps)
        curl_easy_setopt(probe, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(probe, CURLOPT_USERNAME, m_target.user.toUtf8().constData());
    curl_easy_setopt(probe, CURLOPT_PASSWORD, m_target.password.toUtf8().constData());
    curl_easy_perform(probe); // a refused login still leaves the certificate seen
    curl_certinfo *info = nullptr;
    QString key;
    if (curl_easy_getinfo(probe, CURLINFO_CERTINFO, &info) == CURLE_OK && info &&
        info->num_of_certs > 0)
        for (curl_slist *field = info->certinfo[0]; field; field = field->next)
            if (qstrncmp(field->data, "Cert:", 5) == 0)
                key = certificatepin::pinOf(QByteArray(field->data + 5));
    curl_easy_cleanup(probe);
    return key;
}

TransferError CurlSite::stat(const QString &relative, RemoteState *state)
{
    prepare(m_target.url(relative));
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(m_curl, CURLOPT_FILETIME, 1L);
    TransferError error = perform(relative);
    long response = 0;
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &response);
    // A folder FTP cannot enter holds no file for us either: the upload makes it, or
    // says why it cannot.
    const bool ftp = m_target.protocol == Protocol::Ftp || m_target.protocol == Protocol::Ftps;
    if (m_lastCode == CURLE_REMOTE_FILE_NOT_FOUND || m_lastCode == CURLE_FTP_COULDNT_RETR_FILE ||
        (ftp && m_lastCode == CURLE_REMOTE_ACCESS_DENIED) ||
        (m_target.protocol == Protocol::WebDav && response == 404)) {
        *state = {};
        return {};
    }
    if (!error.ok())
        return error;
    curl_off_t size = -1, time = -1;
    curl_easy_getinfo(m_curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
    curl_easy_getinfo(m_curl, CURLINFO_FILETIME_T, &time);
    *state = {true, qint64(size), time > 0 ? qint64(time) : 0};
    return {};
}

QByteArray CurlSite::quoted(const QString &relative) const
{
    QString path = m_target.commandPath(relative);
    if (m_target.protocol != Protocol::Sftp)
        return path.toUtf8(); // FTP takes the rest of the line as it is
    path.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return '"' + path.toUtf8() + '"';
}

TransferError CurlSite::makeFolders(const QString &relative)
{
    // Each folder from the server's root down to the file's, the remote folder's too.
    const QString url = m_target.url(relative);
    const qsizetype pathStart = url.indexOf(u'/', url.indexOf(QLatin1String("://")) + 3);
    for (qsizetype slash = url.indexOf(u'/', pathStart + 1); slash > 0;
         slash = url.indexOf(u'/', slash + 1)) {
        const QString folder = url.left(slash + 1);
        if (m_madeFolders.contains(folder))
            continue;
        prepare(folder);
        curl_easy_setopt(m_curl, CURLOPT_CUSTOMREQUEST, "MKCOL");
        TransferError error = perform(relative);
        long response = 0;
        curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &response);
        if (!error.ok() && response != 405) // 405: it is there already
            return error;
        m_madeFolders.insert(folder);
    }
    return {};
}

TransferError CurlSite::put(const QString &localPath, const QString &relative,
                            const Progress &progress)
{
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return {TransferError::Kind::LocalFile, file.errorString(), relative};
    const QString temporary = temporaryName(relative);
    const QString name = relative.mid(relative.lastIndexOf(u'/') + 1);
    if (m_target.protocol == Protocol::WebDav)
        if (TransferError error = makeFolders(relative); !error.ok())
            return error;
    prepare(m_target.url(temporary));
    m_progress = progress;
    curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, readFile);
    curl_easy_setopt(m_curl, CURLOPT_READDATA, &file);
    curl_easy_setopt(m_curl, CURLOPT_SEEKFUNCTION, seekFile);
    curl_easy_setopt(m_curl, CURLOPT_SEEKDATA, &file);
    curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    curl_easy_setopt(m_curl, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    Slist after;
    if (m_target.protocol == Protocol::Sftp) {
        // The SFTP servers met most (protocol version 3) rename only onto a free name: the
        // old file steps aside, the new one takes its name, then the old one goes.
        const QString aside = temporary + QStringLiteral("-old");
        after.append("*rename " + quoted(relative) + ' ' + quoted(aside));
        after.append("rename " + quoted(temporary) + ' ' + quoted(relative));
        after.append("*rm " + quoted(aside));
    } else if (m_target.protocol != Protocol::WebDav) {
        // After the upload the FTP session stands in the file's folder.
        after.append("RNFR " + temporary.mid(temporary.lastIndexOf(u'/') + 1).toUtf8());
        after.append("RNTO " + name.toUtf8());
    }
    curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, after.get());
    if (TransferError error = perform(relative); !error.ok()) {
        const bool ftp = m_target.protocol == Protocol::Ftp || m_target.protocol == Protocol::Ftps;
        return ftp && m_lastCode == CURLE_QUOTE_ERROR ? replaceAside(relative) : error;
    }
    if (m_target.protocol != Protocol::WebDav)
        return {};
    prepare(m_target.url(temporary));
    Slist headers;
    headers.append("Destination: " + m_target.url(relative).toUtf8());
    headers.append("Overwrite: T");
    curl_easy_setopt(m_curl, CURLOPT_CUSTOMREQUEST, "MOVE");
    curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, headers.get());
    return perform(relative);
}

TransferError CurlSite::replaceAside(const QString &relative)
{
    // As over SFTP: the old file steps aside, the new one takes its name, the old one
    // goes. A break in between leaves the old file aside for the next publish to put
    // back. The commands go after a look at the public file, in its folder.
    const auto nameOf = [](const QString &path) {
        return path.mid(path.lastIndexOf(u'/') + 1).toUtf8();
    };
    const QByteArray temporary = nameOf(temporaryName(relative));
    const QByteArray aside = temporary + "-old";
    const QByteArray name = nameOf(relative);
    Slist after;
    after.append("RNFR " + name);
    after.append("RNTO " + aside);
    after.append("RNFR " + temporary);
    after.append("RNTO " + name);
    after.append("*DELE " + aside);
    prepare(m_target.url(relative));
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, after.get());
    return perform(relative);
}

TransferError CurlSite::cleanUp(const QStringList &relatives)
{
    if (relatives.isEmpty())
        return {};
    if (m_target.protocol == Protocol::WebDav) {
        for (const QString &relative : relatives) {
            prepare(m_target.url(temporaryName(relative)));
            curl_easy_setopt(m_curl, CURLOPT_CUSTOMREQUEST, "DELETE");
            TransferError error = perform(relative);
            long response = 0;
            curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &response);
            if (!error.ok() && response != 404)
                return error;
        }
        return {};
    }
    // One command list for all: "*" lets a name that is not there pass.
    Slist commands;
    for (const QString &relative : relatives) {
        const QString temporary = temporaryName(relative);
        if (m_target.protocol == Protocol::Sftp) {
            // An old file moved aside whose successor never took its name goes back (a
            // rename onto a name that is there fails on these servers, so a new file that
            // did arrive stays); whatever is left aside then goes.
            const QString aside = temporary + QStringLiteral("-old");
            commands.append("*rm " + quoted(temporary));
            commands.append("*rename " + quoted(aside) + ' ' + quoted(relative));
            commands.append("*rm " + quoted(aside));
        } else {
            // The same for FTP servers that made the publish move an old file aside.
            const QString aside = temporary + QStringLiteral("-old");
            commands.append("*DELE " + quoted(temporary));
            commands.append("*RNFR " + quoted(aside));
            commands.append("*RNTO " + quoted(relative));
            commands.append("*DELE " + quoted(aside));
        }
    }
    prepare(m_target.url(QString()));
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(m_curl, CURLOPT_QUOTE, commands.get());
    return perform(QString());
}

} // namespace lumipage
