#include "document/fileerrors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace lumipage::fileerrors
{

QString cause(int errnum)
{
    switch (errnum) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込む権限がありません。");
    case EROFS:
        return QStringLiteral("保存先は読み取り専用です。");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("保存先のフォルダがありません。");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("ファイルがほかのプログラムに使われています（ロックされています）。");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダがあります。");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます。");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます。");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます。");
    case EIO:
        return QStringLiteral("ディスクの読み書きでエラーが起きました。");
    default:
        return {};
    }
}

int probeWrite(const QString &path, qint64 bytes, int observed)
{
    if (!cause(observed).isEmpty())
        return observed;
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray local = QFileInfo(folder).absoluteFilePath().toLocal8Bit();
    if (!QFileInfo(folder).isDir())
        return ENOENT;
    struct statvfs fs;
    if (::statvfs(local.constData(), &fs) == 0) {
        if (fs.f_flag & ST_RDONLY)
            return EROFS;
        if (qint64(fs.f_bavail) * qint64(fs.f_bsize) < bytes + qint64(fs.f_bsize))
            return ENOSPC;
    }
    if (::access(local.constData(), W_OK) != 0)
        return errno == EROFS ? EROFS : EACCES;
    return 0;
}

QString whyWriteFailed(const QString &path, qint64 bytes, int observed, const QString &systemText)
{
    const int errnum = probeWrite(path, bytes, observed);
    if (errnum)
        return cause(errnum);
    // Qt's own text for an unexplained failure is "Unknown error" (in Japanese
    // 「未知のエラー」); the system's word for the error number says more.
    if (!systemText.isEmpty() && !systemText.contains(QLatin1String("Unknown error")) &&
        !systemText.contains(QStringLiteral("未知のエラー")))
        return systemText;
    if (observed)
        return QString::fromLocal8Bit(std::strerror(observed));
    return QStringLiteral("書き込みが完了しませんでした。");
}

QString specialFileKind(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("名前付きパイプ（FIFO）");
    if (S_ISSOCK(info.st_mode))
        return QStringLiteral("ソケット");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return QStringLiteral("デバイスファイル");
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return QStringLiteral("特殊なファイル");
    return {};
}

} // namespace lumipage::fileerrors
