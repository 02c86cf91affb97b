#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

namespace lumipage
{

class Document;
class EditingComponent;

// What a look at a file on disk finds: whether it is there, its size and modification
// time, and (when asked) a hash of its bytes.
struct FileStamp {
    bool exists = false;
    qint64 size = -1;
    QDateTime modified;
    QByteArray hash;

    // The stamp of `path` now.
    static FileStamp of(const QString &path, bool withHash);
    // Whether size and modification time are the same (then the bytes are taken as equal).
    bool looksLike(const FileStamp &other) const
    {
        return exists == other.exists && size == other.size && modified == other.modified;
    }
};

// Notices when another program changes or removes the open page's file: the file is
// watched, and looked at again whenever the window is activated and before a save onto
// it (a watcher misses changes on network folders). A change is asked about once: reload
// or keep the page; a save onto a file changed since it was read or written asks before
// it overwrites that change. Questions wait while a modal dialog is open or the surface
// is waiting for the page. Lives with the main window, which it filters for activation.
class DiskChanges : public QObject
{
    Q_OBJECT
public:
    DiskChanges(EditingComponent &editor, Document &document, QWidget &window);

    // The page is now the file `path` as it lies on disk (just opened or saved); empty:
    // a page of no file.
    void follow(const QString &path);
    // Before a save onto `path`: true to go on, false when the file changed on disk since
    // the page read or wrote it and the user keeps that change.
    bool maySave(const QString &path);
    // Looks at the file as soon as no question or wait is in the way.
    void check();

signals:
    // The user asked for the page to be read again from `path`.
    void reloadRequested(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void examine();
    // The file's bytes differ from those the page was read from or saved as.
    bool changedOnDisk(FileStamp *now);

    EditingComponent &m_editor;
    Document &m_document;
    QWidget &m_window;
    QFileSystemWatcher m_watcher;
    QTimer m_retry;
    QString m_path;
    FileStamp m_base;       // the file as the page read or wrote it
    QByteArray m_askedHash; // the last changed version asked about
    bool m_toldMissing = false;
    bool m_asking = false;
};

} // namespace lumipage
