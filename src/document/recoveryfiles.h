#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLockFile>
#include <QString>

#include <memory>

namespace lumipage
{

// Recovery copies of unsaved pages in the user's data folder, so that an editor that was
// killed or lost its power can offer the page at the next start. Each running editor
// writes only its own file, and holds a lock beside it for as long as it runs: another
// editor never offers a file whose owner is still alive.
class RecoveryFiles
{
public:
    // A page a dead editor left behind.
    struct Orphan {
        QString file;        // the recovery file
        QString html;        // the page
        QString path;        // the file the page belongs to (empty for a new page)
        QByteArray encoding; // the encoding it is saved in
        QDateTime time;      // when the copy was taken
    };

    // `folder` holds the recovery files; empty: the user's data folder.
    explicit RecoveryFiles(const QString &folder = {});
    ~RecoveryFiles();

    // Writes the copy of this editor's page, atomically; false when it cannot.
    bool write(const QString &html, const QString &path, const QByteArray &encoding);
    // Why the last write failed, for the user; empty after a write that succeeded.
    QString lastError() const { return m_lastError; }
    // Removes this editor's copy (the page was saved or given up).
    void remove();
    // Whether this editor has a copy on disk now.
    bool hasCopy() const;

    // The copies left by editors that are no longer running, newest first. Each one found
    // is locked for this editor until it is taken or dropped.
    QList<Orphan> takeOrphans();
    // Drops a copy found by takeOrphans (restored into this editor, or declined).
    void drop(const Orphan &orphan);

    QString folder() const { return m_folder; }

private:
    QString m_folder;
    QString m_id;
    QString m_lastError;
    std::unique_ptr<QLockFile> m_lock;
    QHash<QString, std::shared_ptr<QLockFile>> m_adopted; // by recovery file
};

} // namespace lumipage
