#pragma once

#include <QString>

namespace lumipage
{

// Why a transfer failed, in the terms the author can act on.
struct TransferError {
    enum class Kind {
        None,
        Login,          // user or password (or key) refused
        HostNotFound,   // the name does not resolve
        Refused,        // nothing listens there
        TimedOut,       // no answer
        HostKeyUnknown, // SFTP: a server not met before; `fingerprint` tells its key
        HostKeyChanged, // SFTP: the server's key is not the one remembered
        Certificate,    // FTPS/HTTPS: the certificate is not trusted
        Permission,     // the server refuses to write there
        DiskFull,       // the server has no room
        Broken,         // the connection broke off midway
        LocalFile,      // a local file could not be read
        Cancelled,
        Other
    };
    TransferError() = default;
    TransferError(Kind kind, const QString &detail = {}, const QString &file = {})
        : kind(kind), detail(detail), file(file)
    {
    }

    Kind kind = Kind::None;
    QString detail;      // the server's or library's own words, for the end of the message
    QString fingerprint; // "SHA256:…" for host key errors, "sha256//…" (the key) for certificates
    QString file;        // the place under the remote folder it happened at, if any

    bool ok() const { return kind == Kind::None; }
    // The message for the author in Japanese: what happened and what to do.
    QString message() const;
};

} // namespace lumipage
