#include "app/diskchanges.h"

#include "app/document.h"
#include "platform/editing/editingcomponent.h"
#include "platform/desktop/messages.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopedValueRollback>
#include <QWidget>

#include <utility>

namespace lumipage
{

namespace
{
const QString kChanged =
    QStringLiteral("ディスク上のファイルが他のプログラムで変更されました。読み込み直しますか？");
} // namespace

FileStamp FileStamp::of(const QString &path, bool withHash)
{
    FileStamp stamp;
    const QFileInfo info(path);
    stamp.exists = info.isFile();
    if (!stamp.exists)
        return stamp;
    stamp.size = info.size();
    stamp.modified = info.lastModified();
    QFile file(path);
    if (withHash && file.open(QIODevice::ReadOnly)) {
        // Only compared within this run, to tell a touched file from a changed one: the
        // process's own fast hash will do (a cryptographic one took milliseconds a save).
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        size_t hash = qGlobalQHashSeed();
        for (qint64 n; (n = file.read(chunk.data(), chunk.size())) > 0;)
            hash = qHashBits(chunk.constData(), size_t(n), hash);
        stamp.hash = QByteArray::number(quint64(hash), 16);
    }
    return stamp;
}

DiskChanges::DiskChanges(EditingComponent &editor, Document &document, QWidget &window)
    : QObject(&window), m_editor(editor), m_document(document), m_window(window)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &DiskChanges::examine);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString &path) {
        // A program that writes a new file and renames it over the old one ends the watch.
        if (QFileInfo::exists(path) && !m_watcher.files().contains(path))
            m_watcher.addPath(path);
        // In the background the question waits for the window to be activated.
        if (m_window.isActiveWindow())
            check();
    });
    window.installEventFilter(this);
}

void DiskChanges::follow(const QString &path)
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_base = m_path.isEmpty() ? FileStamp() : FileStamp::of(m_path, true);
    m_askedHash.clear();
    m_toldMissing = false;
    if (m_base.exists)
        m_watcher.addPath(m_path);
}

bool DiskChanges::changedOnDisk(FileStamp *now)
{
    *now = FileStamp::of(m_path, false);
    if (!now->exists || !m_base.exists || now->looksLike(m_base))
        return false;
    *now = FileStamp::of(m_path, true);
    if (now->hash != m_base.hash)
        return true;
    m_base = *now; // touched, not changed
    return false;
}

void DiskChanges::check()
{
    if (!m_path.isEmpty())
        m_retry.start(0);
}

void DiskChanges::examine()
{
    if (m_path.isEmpty())
        return;
    // Never over another question, nor while the surface waits for the page.
    if (m_asking || QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        m_editor.busy()) {
        m_retry.start(400);
        return;
    }
    const QScopedValueRollback asking(m_asking, true);
    FileStamp now;
    if (!changedOnDisk(&now)) {
        if (now.exists || !m_base.exists) {
            m_toldMissing = false;
            return;
        }
        if (!std::exchange(m_toldMissing, true))
            messages::warn(&m_window,
                           QStringLiteral("ディスク上のファイルが見つかりません。削除されたか、"
                                          "移動されたようです。このページを保存すると、"
                                          "ファイルを新しく書き込みます。\n\n%1")
                               .arg(m_path));
        return;
    }
    if (now.hash == m_askedHash)
        return; // asked about this version already
    m_askedHash = now.hash;
    const QString danger =
        m_document.isModified()
            ? QStringLiteral("\n\n読み込み直すと、このウィンドウでの編集内容は失われます。"
                             "読み込み直さずに保存すると、他のプログラムでの変更が失われます。")
            : QString();
    if (messages::ask(
            &m_window, QStringLiteral("確認"), kChanged + danger + QStringLiteral("\n\n") + m_path,
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) == QMessageBox::Yes)
        emit reloadRequested(m_path);
}

bool DiskChanges::maySave(const QString &path)
{
    if (m_path.isEmpty() || QFileInfo(path).absoluteFilePath() != m_path)
        return true;
    FileStamp now;
    if (!changedOnDisk(&now))
        return true;
    const QScopedValueRollback asking(m_asking, true);
    return messages::askWith(
               &m_window, QStringLiteral("確認"),
               QStringLiteral("ディスク上のファイルは、開いた後に他のプログラムで変更されています。"
                              "上書きすると、他のプログラムでの変更は失われます。\n\n%1")
                   .arg(m_path),
               {{QMessageBox::Save, QStringLiteral("上書き")},
                {QMessageBox::Cancel, QStringLiteral("キャンセル")}},
               QMessageBox::Warning) == QMessageBox::Save;
}

bool DiskChanges::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::WindowActivate)
        check();
    return QObject::eventFilter(watched, event);
}

} // namespace lumipage
