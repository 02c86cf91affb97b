#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace lumipage
{

// The mark an editor leaves beside the page it has open, so that a second editor (in
// this session, another one, or on another machine sharing the folder) learns of it
// before it opens the page too. The lock is the hidden file ".~lumipage-lock.NAME#"
// beside the page NAME, made exclusively, holding one field a line: the owner's process
// id, program, machine, user and the time the page was opened. A lock whose owner is a
// process of this machine that no longer runs is stale and is taken over silently.
class PageLock
{
public:
    // Who holds a page's lock.
    struct Owner {
        qint64 pid = 0;
        QString program;
        QString host;
        QString user;
        QDateTime time;
    };
    enum class Outcome { Locked, HeldElsewhere, Unavailable };

    PageLock() = default;
    ~PageLock() { unlock(); }
    PageLock(const PageLock &) = delete;
    PageLock &operator=(const PageLock &) = delete;

    // The lock file of the page `page`.
    static QString lockPathFor(const QString &page);
    // The live owner of `page`'s lock other than this object; none when the page is free,
    // its lock is stale or this object holds it.
    std::optional<Owner> otherOwner(const QString &page) const;
    // Takes the lock of `page`, giving up the one held before. Unavailable: the lock
    // cannot be written (a read-only folder), and the page is open without one.
    Outcome lock(const QString &page);
    // Gives up the lock held, if still ours.
    void unlock();
    // The page whose lock this object holds (empty when none).
    QString page() const { return m_page; }

    // Reads a lock file; none when it holds no lock of ours.
    static std::optional<Owner> read(const QString &lockFile);
    // Whether `owner` is a process of this machine that no longer runs.
    static bool isStale(const Owner &owner);

private:
    QString m_page;
    QString m_file;
};

} // namespace lumipage
