#include "transfer/curlerrors.h"

#include <curl/curl.h>

namespace lumipage::curlerrors
{

namespace
{

using Kind = TransferError::Kind;

// An HTTP (WebDAV) reply code that failed a request.
Kind httpKind(int response)
{
    switch (response) {
    case 401:
        return Kind::Login;
    case 403:
    case 405:
    case 409: // a parent folder missing and not made
        return Kind::Permission;
    case 413:
    case 507:
        return Kind::DiskFull;
    default:
        return Kind::Other;
    }
}

// An FTP reply refusing a store or a command.
Kind ftpKind(int response)
{
    if (response == 452 || response == 552)
        return Kind::DiskFull;
    if (response == 550 || response == 553 || response == 532 || response == 450)
        return Kind::Permission;
    return Kind::Broken;
}

} // namespace

TransferError map(int code, int response, bool http, const QString &libraryText)
{
    Kind kind = Kind::Other;
    switch (CURLcode(code)) {
    case CURLE_OK:
        kind = http ? httpKind(response) : Kind::None;
        break;
    case CURLE_LOGIN_DENIED:
        kind = Kind::Login;
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        kind = Kind::HostNotFound;
        break;
    case CURLE_COULDNT_CONNECT:
        kind = Kind::Refused;
        break;
    case CURLE_OPERATION_TIMEDOUT:
        kind = Kind::TimedOut;
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        kind = Kind::Certificate;
        break;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_QUOTE_ERROR:
        kind = response >= 400 && !http ? ftpKind(response) : Kind::Permission;
        break;
    case CURLE_REMOTE_DISK_FULL:
        kind = Kind::DiskFull;
        break;
    case CURLE_UPLOAD_FAILED:
        kind = ftpKind(response);
        break;
    case CURLE_HTTP_RETURNED_ERROR:
        kind = httpKind(response);
        break;
    case CURLE_ABORTED_BY_CALLBACK:
        kind = Kind::Cancelled;
        break;
    case CURLE_READ_ERROR:
        kind = Kind::LocalFile;
        break;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSH:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_PORT_FAILED:
        kind = Kind::Broken;
        break;
    case CURLE_USE_SSL_FAILED:
        return {Kind::Other,
                QStringLiteral("サーバーが TLS（FTPS）に対応していません。プロトコルを FTP "
                               "にするか、サーバーの設定を確かめてください。")};
    default:
        break;
    }
    if (kind == Kind::Cancelled)
        return {kind};
    return {kind, libraryText.isEmpty() ? QString::fromUtf8(curl_easy_strerror(CURLcode(code)))
                                        : libraryText};
}

} // namespace lumipage::curlerrors
