#pragma once

#include <QString>

namespace lumipage::fileerrors
{

// What a system error number means to someone saving a file, in Japanese ("ディスクの
// 空き容量が足りません。"); empty for numbers that name no cause a user can act on.
QString cause(int errnum);

// The error number behind a failed write of `path` (of `bytes` bytes): `observed` (errno
// right after the failure) when it names a cause, otherwise what a look at the target
// folder finds: gone, on a read-only file system, not writable, or out of space. 0 when
// nothing explains the failure.
int probeWrite(const QString &path, qint64 bytes, int observed);

// Why a write of `path` failed, for the end of a message: the cause found by probeWrite,
// or else `systemText` (the file's own error text) when it says more than "unknown".
QString whyWriteFailed(const QString &path, qint64 bytes, int observed, const QString &systemText);

// What a path names when it is neither a regular file nor a folder ("名前付きパイプ
// （FIFO）", "デバイスファイル", "ソケット"); empty for files, folders and missing paths.
// Such files are never opened for reading: a pipe or device would block or never end.
QString specialFileKind(const QString &path);

} // namespace lumipage::fileerrors
