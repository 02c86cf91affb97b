#pragma once

#include "document/pagelock.h"

#include <QObject>
#include <QString>

class QWidget;

namespace lumipage
{

class DiskChanges;
class Document;
class EditingComponent;

// The open page's hold on its file: the lock that tells other editors the page is open
// here, the read-only mode chosen when another editor had it open first, and the watch
// for changes other programs make to it. The file commands ask it before they open or
// save a page and tell it afterwards. A child of the main window, whose title says when
// the page is read-only.
class PageGuard : public QObject
{
    Q_OBJECT
public:
    PageGuard(EditingComponent &editor, Document &document, QWidget &window);
    ~PageGuard() override;

    // Before `path` is opened: asks when another editor has it open; false when the user
    // cancels. Opening the page open now again (a reload) keeps its mode.
    bool mayOpen(const QString &path);
    // `path` was opened, in the mode mayOpen settled: its lock is taken (unless it is
    // open read-only or despite another editor's lock) and the file is watched.
    void opened(const QString &path);
    // Before a save onto `path`: false when the page is read-only and `path` is its own
    // file, when another editor has `path` open and the user keeps it, or when another
    // program changed the file and the user keeps that change.
    bool maySave(const QString &path);
    // The page was saved to `path`, which it now is (and holds, when it is another file).
    void saved(const QString &path);
    // The page belongs to no file any more (a new page): its lock goes.
    void released();

    bool readOnly() const { return m_readOnly; }
    DiskChanges &diskChanges() { return *m_changes; }

signals:
    // The user asked for the page to be read again from its file.
    void reloadRequested(const QString &path);

private:
    enum class Mode { Locked, ReadOnly, Despite };
    void setReadOnly(bool readOnly);

    QWidget &m_window;
    PageLock m_lock;
    DiskChanges *m_changes;
    QString m_page; // the file the page is, absolute
    Mode m_next = Mode::Locked;
    bool m_readOnly = false;
};

} // namespace lumipage
