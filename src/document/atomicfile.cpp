#include "document/atomicfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumipage::atomicfile
{

namespace
{

// ".~lumipage.PID.RANDOM.HOST.tmp": hidden, and telling whose it is, so that a later
// start can tell a dead writer's file from one being written now.
const QRegularExpression
    kTemporary(QStringLiteral("^\\.~lumipage\\.(\\d+)\\.[A-Za-z0-9]{6}\\.(.+)\\.tmp$"));

QString hostTag()
{
    QString host = QSysInfo::machineHostName().left(64);
    for (QChar &c : host)
        if (c == QLatin1Char('/') || c.isSpace())
            c = QLatin1Char('_');
    return host.isEmpty() ? QStringLiteral("localhost") : host;
}

QString temporaryName()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString random;
    for (int i = 0; i < 6; ++i)
        random += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
    return QStringLiteral(".~lumipage.%1.%2.%3.tmp")
        .arg(QCoreApplication::applicationPid())
        .arg(random, hostTag());
}

Result failed(bool opened, int errnum)
{
    return {false, opened, errnum, QString::fromLocal8Bit(std::strerror(errnum))};
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qint64>(left, 1 << 20)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

// The file a write of `path` replaces: the end of a chain of symbolic links.
QString resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    int depth = 128;
    while (--depth && info.isSymLink())
        info.setFile(info.symLinkTarget());
    return depth > 0 ? info.absoluteFilePath() : QFileInfo(path).absoluteFilePath();
}

bool processRuns(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

Pending begin(const QString &path, const QByteArray &bytes)
{
    Pending pending;
    Result &result = pending.m_result;
    const QString target = resolvedTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat existing;
    const bool exists = ::stat(targetName.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        result = failed(false, EISDIR);
        return pending;
    }
    if (exists && ::access(targetName.constData(), W_OK) != 0) {
        result = failed(false, errno == EROFS ? EROFS : EACCES);
        return pending;
    }
    const QByteArray temp =
        QFile::encodeName(QFileInfo(target).absolutePath() + QLatin1Char('/') + temporaryName());
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        result = failed(false, errno);
        return pending;
    }
    int errnum = 0;
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0 && errno != EPERM)
        errnum = errno;
    else if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        errnum = errno;
    if (::close(fd) != 0 && errnum == 0)
        errnum = errno;
    if (errnum != 0) {
        ::unlink(temp.constData());
        result = failed(true, errnum);
        return pending;
    }
    result = {true, true, 0, {}};
    pending.m_temporary = temp;
    pending.m_target = targetName;
    return pending;
}

Result Pending::commit()
{
    return finish(true);
}

Result Pending::commitNew()
{
    return finish(false);
}

Result Pending::finish(bool replace)
{
    if (!m_result.ok || m_temporary.isEmpty())
        return m_result;
    const QByteArray temp = std::exchange(m_temporary, {});
    int renamed = replace ? ::rename(temp.constData(), m_target.constData())
                          : ::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, m_target.constData(),
                                        RENAME_NOREPLACE);
    // A file system without the no-replace rename: a hard link is refused just the same
    // when the name is taken.
    if (renamed != 0 && !replace && (errno == EINVAL || errno == ENOSYS)) {
        renamed = ::link(temp.constData(), m_target.constData());
        if (renamed == 0)
            ::unlink(temp.constData());
    }
    if (renamed != 0) {
        const int errnum = errno;
        ::unlink(temp.constData());
        return failed(true, errnum);
    }
    // The rename itself reaches the disk with the folder.
    const int folder =
        ::open(QFile::encodeName(QFileInfo(QFile::decodeName(m_target)).absolutePath()).constData(),
               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return m_result;
}

Pending &Pending::operator=(Pending &&other) noexcept
{
    if (this != &other) {
        if (!m_temporary.isEmpty())
            ::unlink(m_temporary.constData());
        m_result = std::move(other.m_result);
        m_temporary = std::exchange(other.m_temporary, {});
        m_target = std::move(other.m_target);
    }
    return *this;
}

Pending::~Pending()
{
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

Result write(const QString &path, const QByteArray &bytes)
{
    Pending pending = begin(path, bytes);
    return pending.begun().ok ? pending.commit() : pending.begun();
}

Result writeNew(const QString &path, const QByteArray &bytes)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return failed(false, EEXIST);
    Pending pending = begin(path, bytes);
    return pending.begun().ok ? pending.commitNew() : pending.begun();
}

bool isTemporaryName(const QString &fileName)
{
    return kTemporary.match(fileName).hasMatch();
}

int removeStaleTemporaries(const QString &folder)
{
    const QDir dir(folder);
    const QString host = hostTag();
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    int removed = 0;
    const QFileInfoList entries = dir.entryInfoList({QStringLiteral(".~lumipage.*.tmp")},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        const QRegularExpressionMatch match = kTemporary.match(entry.fileName());
        if (!match.hasMatch())
            continue;
        const bool deadHere =
            match.captured(2) == host && !processRuns(match.captured(1).toLongLong());
        if ((deadHere || entry.lastModified() < hourAgo) && QFile::remove(entry.filePath()))
            ++removed;
    }
    return removed;
}

} // namespace lumipage::atomicfile
