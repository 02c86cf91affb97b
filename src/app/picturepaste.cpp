#include "app/picturepaste.h"

#include "app/filedrops.h"
#include "app/pastechoice.h"
#include "document/atomicfile.h"
#include "platform/editing/editingcomponent.h"
#include "platform/desktop/messages.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>

#include <cerrno>

namespace lumipage
{

namespace
{

PasteChoice clipboardChoice()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    return choosePaste({data->hasHtml(), data->hasText(), data->hasImage(),
                        data->hasUrls() ? data->urls() : QList<QUrl>()});
}

} // namespace

PicturePaste::PicturePaste(QWidget &window, EditingComponent &editor, FileDrops &drops,
                           std::function<void()> save)
    : QObject(&window), m_window(window), m_editor(editor), m_drops(drops), m_save(std::move(save))
{
    // The engine takes Ctrl+V on its surface itself; only a filter on the whole
    // application is sure to see it first.
    qApp->installEventFilter(this);
}

bool PicturePaste::paste()
{
    if (m_editor.BrowseMode())
        return false;
    const PasteChoice choice = clipboardChoice();
    switch (choice.action) {
    case PasteChoice::Action::Engine:
        return false;
    case PasteChoice::Action::InsertFiles:
        m_drops.insertPictures(choice.paths);
        return true;
    case PasteChoice::Action::InsertImage:
        pasteImage();
        return true;
    }
    return false;
}

void PicturePaste::pasteImage()
{
    // Read before any question: a save dialog may change what the clipboard holds.
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) {
        messages::warn(&m_window, QStringLiteral("クリップボードの画像を読み取れませんでした。"));
        return;
    }
    if (m_editor.documentPath().isEmpty()) {
        const auto answer = messages::ask(
            &m_window, messages::applicationTitle(),
            QStringLiteral("貼り付ける画像はページと同じフォルダーにファイルとして保存します。\n"
                           "先にページを保存してください。保存しますか？"),
            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question);
        if (answer != QMessageBox::Ok)
            return;
        m_save();
        if (m_editor.documentPath().isEmpty())
            return; // the save was cancelled: nothing is pasted
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        messages::warn(&m_window, QStringLiteral("クリップボードの画像をPNGにできませんでした。"));
        return;
    }
    const QString folder = QFileInfo(m_editor.documentPath()).absolutePath();
    QString path;
    atomicfile::Result written;
    // The name is free when chosen; another program may take it before the write, and
    // then the next one is tried (an existing file is never written over).
    for (int attempt = 0; attempt < 10; ++attempt) {
        path = QDir(folder).filePath(freePasteName(folder));
        written = atomicfile::writeNew(path, png);
        if (written.ok || written.errnum != EEXIST)
            break;
    }
    if (!written.ok) {
        messages::warn(&m_window, QStringLiteral("画像を「%1」に保存できませんでした。\n%2")
                                      .arg(QDir::toNativeSeparators(path), written.systemText));
        return;
    }
    // The written picture goes again when the page does not name it: its offer was
    // cancelled, or its web copies went in instead (the data is still on the clipboard).
    const QString inserted = m_drops.insertPictures({path}, image.size());
    if (!inserted.contains(QFileInfo(path).fileName()))
        QFile::remove(path);
}

bool PicturePaste::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target || !m_editor.isAncestorOf(target))
        return false;
    if (!static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
        return false;
    if (m_editor.BrowseMode() || clipboardChoice().action == PasteChoice::Action::Engine)
        return false;
    // The key press ends first: the web-copy offer or a question must not run inside it.
    QTimer::singleShot(0, this, [this] { paste(); });
    return true;
}

} // namespace lumipage
