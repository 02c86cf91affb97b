#include "app/recentfiles.h"

#include <QFileInfo>
#include <QSettings>

namespace lumipage
{

RecentFiles::RecentFiles(QSettings &settings, const QString &key) : m_settings(settings), m_key(key)
{
}

QStringList RecentFiles::paths() const
{
    return m_settings.value(m_key).toStringList().mid(0, kLimit);
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kLimit));
}

QStringList RecentFiles::dropMissing()
{
    QStringList list = paths();
    list.removeIf([](const QString &path) { return !QFileInfo(path).isFile(); });
    if (list != paths())
        store(list);
    return list;
}

void RecentFiles::clear()
{
    m_settings.remove(m_key);
}

void RecentFiles::store(const QStringList &paths)
{
    m_settings.setValue(m_key, paths);
}

} // namespace lumipage
