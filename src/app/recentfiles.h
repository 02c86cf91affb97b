#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace lumipage
{

// The pages opened or saved last, newest first, kept in the settings between runs.
// The list holds absolute paths, each once, at most kLimit of them.
class RecentFiles
{
public:
    static constexpr int kLimit = 10;

    // Reads and writes the list under `key` of `settings` (which must outlive this).
    explicit RecentFiles(QSettings &settings, const QString &key = QStringLiteral("recentFiles"));

    // The list as kept, newest first.
    QStringList paths() const;
    // Puts `path` first (moving it up when it is already listed) and drops the oldest
    // beyond the limit.
    void add(const QString &path);
    // Takes out the files that no longer exist; returns the list left.
    QStringList dropMissing();
    // Empties the list.
    void clear();

private:
    void store(const QStringList &paths);

    QSettings &m_settings;
    QString m_key;
};

} // namespace lumipage
