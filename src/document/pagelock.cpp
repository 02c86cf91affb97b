#include "document/pagelock.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace lumipage
{

namespace
{

QString userName()
{
    if (const passwd *entry = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString programName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

bool isOurs(const PageLock::Owner &owner)
{
    return owner.pid == QCoreApplication::applicationPid() &&
           owner.host == QSysInfo::machineHostName();
}

} // namespace

QString PageLock::lockPathFor(const QString &page)
{
    const QFileInfo info(page);
    return info.absolutePath() + QStringLiteral("/.~lumipage-lock.") + info.fileName() +
           QLatin1Char('#');
}

std::optional<PageLock::Owner> PageLock::read(const QString &lockFile)
{
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    if (lines.size() < 5)
        return std::nullopt;
    bool number = false;
    Owner owner{lines.at(0).toLongLong(&number), QString::fromUtf8(lines.at(1)),
                QString::fromUtf8(lines.at(2)), QString::fromUtf8(lines.at(3)),
                QDateTime::fromString(QString::fromUtf8(lines.at(4)), Qt::ISODate)};
    if (!number || owner.pid <= 0)
        return std::nullopt;
    return owner;
}

bool PageLock::isStale(const Owner &owner)
{
    if (owner.host != QSysInfo::machineHostName())
        return false; // another machine's process cannot be asked
    if (::kill(pid_t(owner.pid), 0) != 0 && errno == ESRCH)
        return true;
    // The number may have gone to another program since (after a restart).
    const QFileInfo executable(QStringLiteral("/proc/%1/exe").arg(owner.pid));
    const QString running = QFileInfo(executable.symLinkTarget()).fileName();
    return !running.isEmpty() && !owner.program.isEmpty() && running != owner.program &&
           !running.startsWith(owner.program + QLatin1String(" ")); // " (deleted)"
}

std::optional<PageLock::Owner> PageLock::otherOwner(const QString &page) const
{
    const QString file = lockPathFor(page);
    if (file == m_file)
        return std::nullopt;
    // A lock being written (made, its fields not yet in) counts as held.
    const std::optional<Owner> owner = read(file);
    if (!owner)
        return QFileInfo::exists(file) &&
                       QFileInfo(file).lastModified().secsTo(QDateTime::currentDateTime()) < 5
                   ? std::optional<Owner>(Owner{})
                   : std::nullopt;
    if (isStale(*owner))
        return std::nullopt;
    return owner;
}

PageLock::Outcome PageLock::lock(const QString &page)
{
    const QString file = lockPathFor(page);
    if (file == m_file)
        return Outcome::Locked;
    unlock();
    const QByteArray name = QFile::encodeName(file);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            const QByteArray fields =
                QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                programName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n' +
                userName().toUtf8() + '\n' +
                QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + '\n';
            const bool written =
                ::write(fd, fields.constData(), size_t(fields.size())) == fields.size();
            ::close(fd);
            if (!written) {
                ::unlink(name.constData());
                return Outcome::Unavailable;
            }
            m_page = QFileInfo(page).absoluteFilePath();
            m_file = file;
            return Outcome::Locked;
        }
        if (errno != EEXIST)
            return Outcome::Unavailable;
        if (otherOwner(page))
            return Outcome::HeldElsewhere;
        // A stale lock, or one left unreadable: taken over.
        if (!QFile::remove(file))
            return Outcome::Unavailable;
    }
    return Outcome::HeldElsewhere;
}

void PageLock::unlock()
{
    if (m_file.isEmpty())
        return;
    const std::optional<Owner> owner = read(m_file);
    if (owner && isOurs(*owner))
        QFile::remove(m_file);
    m_file.clear();
    m_page.clear();
}

} // namespace lumipage
