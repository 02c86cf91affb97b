#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace lumipage
{

// Keeps a recent copy of the page's text, so that a page whose engine process dies can
// be brought back and an editor that dies can offer it at the next start: the text the
// page was loaded with, then the page read back once a burst of changes has been still
// for a moment (never per keystroke).
class PageKeeper : public QObject
{
    Q_OBJECT
public:
    // Reads the page's text without waiting: calls its argument with the text once read,
    // or nullopt when the page cannot be read just now (tried again soon).
    using Read = std::function<void(std::function<void(std::optional<QString>)>)>;
    explicit PageKeeper(Read read, QObject *parent = nullptr);

    // How long the page must be still before it is copied, in milliseconds.
    void setIdleDelay(int ms) { m_delayMs = ms; }
    // A page was loaded: `html` is its text, and nothing is changed yet.
    void reset(const QString &html);
    // The page changed; it is copied once it has been still for the idle delay.
    void noteChange();
    // The page was just saved as `bytes` in `encoding`: they are its copy (decoded when
    // needed), so that a save is not followed by a second reading of the whole page.
    void saved(const QByteArray &bytes, const QByteArray &encoding);

    // The last copy, and whether the page changed after it was taken.
    QString copy() const;
    bool changedSinceCopy() const { return m_changed; }
    // Whether a copy will be taken once the page has been still long enough.
    bool copyPending() const { return m_idle.isActive() || m_reading; }
    // When the copy was taken.
    QDateTime copyTime() const { return m_copyTime; }
    // What the user is told when the page comes back from the copy: how old it is, or
    // that nothing was lost.
    QString restoreMessage() const;

signals:
    // A fresh copy of a changed page was taken.
    void copied(const QString &html);

private:
    void takeCopy();

    void copyRead(const std::optional<QString> &html, quint64 changes, quint64 begun);

    Read m_read;
    bool m_reading = false;
    quint64 m_changes = 0; // changes noted so far
    quint64 m_begun = 0;   // pages begun or saved so far: a reading from before is too old
    QTimer m_idle;
    int m_delayMs = 2000;
    QString m_copy;
    QByteArray m_savedBytes, m_savedEncoding; // the copy still as saved, when it was
    QDateTime m_copyTime;
    bool m_changed = false;
};

} // namespace lumipage
