#include "document/recoveryfiles.h"

#include "document/atomicfile.h"
#include "document/fileerrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace lumipage
{

namespace
{
const QString kSuffix = QStringLiteral(".recovery");

QString lockPathFor(const QString &file)
{
    return file.left(file.size() - kSuffix.size()) + QStringLiteral(".lock");
}
} // namespace

RecoveryFiles::RecoveryFiles(const QString &folder)
    : m_folder(folder.isEmpty()
                   ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                         QStringLiteral("/recovery")
                   : folder),
      m_id(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    QDir().mkpath(m_folder);
    atomicfile::removeStaleTemporaries(m_folder); // copies a killed editor was writing
    m_lock =
        std::make_unique<QLockFile>(m_folder + QLatin1Char('/') + m_id + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0); // only a dead owner makes a lock stale, never its age
    m_lock->tryLock(0);
}

RecoveryFiles::~RecoveryFiles()
{
    for (const auto &lock : std::as_const(m_adopted))
        lock->unlock();
}

bool RecoveryFiles::write(const QString &html, const QString &path, const QByteArray &encoding)
{
    const QJsonObject copy{
        {QStringLiteral("path"), path},
        {QStringLiteral("encoding"), QString::fromLatin1(encoding)},
        {QStringLiteral("time"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs)},
        {QStringLiteral("html"), html}};
    const QString target = m_folder + QLatin1Char('/') + m_id + kSuffix;
    const QByteArray bytes = QJsonDocument(copy).toJson(QJsonDocument::Compact);
    const atomicfile::Result written = atomicfile::write(target, bytes);
    m_lastError =
        written.ok
            ? QString()
            : QStringLiteral("復元用のコピー「%1」を保存できません。%2")
                  .arg(target, fileerrors::whyWriteFailed(target, bytes.size(), written.errnum,
                                                          written.systemText));
    return written.ok;
}

void RecoveryFiles::remove()
{
    QFile::remove(m_folder + QLatin1Char('/') + m_id + kSuffix);
}

bool RecoveryFiles::hasCopy() const
{
    return QFileInfo::exists(m_folder + QLatin1Char('/') + m_id + kSuffix);
}

QList<RecoveryFiles::Orphan> RecoveryFiles::takeOrphans()
{
    QList<Orphan> orphans;
    const QDir dir(m_folder);
    const QStringList names = dir.entryList({QLatin1Char('*') + kSuffix}, QDir::Files);
    for (const QString &name : names) {
        const QString file = dir.filePath(name);
        if (name.startsWith(m_id))
            continue;
        // A live editor holds its lock; a dead one's lock is stale and can be taken.
        auto lock = std::make_shared<QLockFile>(lockPathFor(file));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        QFile in(file);
        const QJsonObject copy = in.open(QIODevice::ReadOnly)
                                     ? QJsonDocument::fromJson(in.readAll()).object()
                                     : QJsonObject();
        if (!copy.contains(QLatin1String("html"))) {
            lock->unlock(); // not a copy of ours: leave it alone
            continue;
        }
        m_adopted.insert(file, lock);
        orphans.append({file, copy.value(QLatin1String("html")).toString(),
                        copy.value(QLatin1String("path")).toString(),
                        copy.value(QLatin1String("encoding")).toString().toLatin1(),
                        QDateTime::fromString(copy.value(QLatin1String("time")).toString(),
                                              Qt::ISODateWithMs)});
    }
    // Locks of dead editors that never kept a copy go too.
    for (const QString &name : dir.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString recovery = dir.filePath(name.left(name.size() - 5) + kSuffix);
        if (QFileInfo::exists(recovery))
            continue;
        QLockFile lock(dir.filePath(name));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            lock.unlock();
    }
    std::sort(orphans.begin(), orphans.end(),
              [](const Orphan &a, const Orphan &b) { return a.time > b.time; });
    return orphans;
}

void RecoveryFiles::drop(const Orphan &orphan)
{
    QFile::remove(orphan.file);
    if (const std::shared_ptr<QLockFile> lock = m_adopted.take(orphan.file))
        lock->unlock(); // removes the lock file too
}

} // namespace lumipage
