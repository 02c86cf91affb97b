#include "app/documentfiles.h"

#include "commands/commandactions.h"
#include "app/document.h"
#include "app/documentrecovery.h"
#include "app/pagefilecheck.h"
#include "app/pageguard.h"
#include "platform/desktop/commondialog.h"
#include "platform/editing/editingcomponent.h"
#include "platform/effects/effectspage.h"
#include "platform/desktop/messages.h"
#include "platform/desktop/programfiles.h"
#include "platform/desktop/shell.h"

#include <QAction>
#include <QFileInfo>
#include <QSettings>

namespace lumipage
{

namespace
{
const QString kFilter =
    QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html|全てのファイル(*.*)|*.*");
const QString kConfirm = QStringLiteral("確認");
const QString kKeepMarkupKey = QStringLiteral("keepMarkup");
} // namespace

DocumentFiles::DocumentFiles(EditingComponent &editor, Document &document,
                             CommonDialog &commonDialog, Shell &shell, DocumentRecovery &recovery,
                             CommandActions &actions, QWidget &window)
    : m_editor(editor), m_document(document), m_commonDialog(commonDialog), m_shell(shell),
      m_recovery(recovery), m_window(window), m_recent(m_settings),
      m_guard(new PageGuard(editor, document, window))
{
    // はい to a file changed by another program reads it again, edits given up.
    QObject::connect(m_guard, &PageGuard::reloadRequested, &window,
                     [this](const QString &path) { openPath(path); });
    actions.setHandler(CommandId::NewDocument, [this] { newDocument(); });
    actions.setHandler(CommandId::OpenFile, [this] { openDocument(); });
    actions.setHandler(CommandId::SaveFile, [this] { saveDocument(); });
    actions.setHandler(CommandId::BrowserPreview, [this] { preview(); });
    actions.setHandler(CommandId::ExportModern, [this] { exportForModernBrowsers(); });
    actions.setHandler(CommandId::Help, [this] { openInformation(QStringLiteral("lpg.txt")); });
    actions.setHandler(CommandId::Author,
                       [this] { openInformation(QStringLiteral("important.txt")); });
    actions.setHandler(CommandId::AboutScript,
                       [this] { openInformation(QStringLiteral("whyvbscript.txt")); });
    actions.setHandler(CommandId::ReadMe,
                       [this] { openInformation(QStringLiteral("attension.txt")); });

    // Saving keeps the author's markup unless the user turned that off; remembered.
    QAction *keep = actions.action(CommandId::KeepMarkup);
    keep->setCheckable(true);
    keep->setChecked(QSettings().value(kKeepMarkupKey, true).toBool());
    m_editor.setKeepMarkup(keep->isChecked());
    actions.setHandler(CommandId::KeepMarkup, [this, keep] {
        QSettings().setValue(kKeepMarkupKey, keep->isChecked());
        m_editor.setKeepMarkup(keep->isChecked());
    });
}

void DocumentFiles::newDocument()
{
    EditingComponent &editor = m_editor;
    if (!editor.DocumentHTML().isEmpty()) {
        const auto answer = messages::ask(
            &m_window, kConfirm, QStringLiteral("新規作成を実行します。ファイルの保存をしますか？"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes) {
            saveDocument();
            return;
        }
        if (answer != QMessageBox::No)
            return;
    }
    editor.NewDocument();
    m_guard->released();
}

bool DocumentFiles::mayLeavePage()
{
    if (m_document.isModified()) {
        const auto answer =
            messages::ask(&m_window, kConfirm, QStringLiteral("編集中のファイルを保存しますか？"),
                          QMessageBox::Ok | QMessageBox::Cancel);
        if (answer == QMessageBox::Ok) {
            saveDocument();
            return false;
        }
        // Declined: the question is not asked again for these changes.
        m_document.markUnchanged();
    }
    return true;
}

void DocumentFiles::openDocument()
{
    if (!mayLeavePage())
        return;
    CommonDialog &dialog = m_commonDialog;
    dialog.filter = kFilter;
    if (const std::optional<QString> path = dialog.showOpen(&m_window))
        openPath(*path);
}

void DocumentFiles::openAsked(const QString &path)
{
    if (mayLeavePage())
        openPath(path);
}

void DocumentFiles::openPath(const QString &path)
{
    if (!m_guard->mayOpen(path))
        return;
    // A page that cannot be read is left alone and the user learns why.
    if (!m_editor.LoadDocument(path)) {
        messages::warn(&m_window, m_editor.lastError());
        return;
    }
    m_guard->opened(path);
    m_recent.add(path);
    if (!m_editor.lastNotice().isEmpty())
        messages::inform(&m_window, m_editor.lastNotice());
}

std::optional<QString> DocumentFiles::askSavePath()
{
    CommonDialog &dialog = m_commonDialog;
    dialog.filter = kFilter;
    const std::optional<QString> path = dialog.showSave(&m_window);
    if (!path)
        return std::nullopt;
    if (QFileInfo::exists(*path) &&
        messages::ask(&m_window, kConfirm,
                      QStringLiteral("同名ファイルがあります、上書きしますか？"),
                      QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return std::nullopt;
    return path;
}

bool DocumentFiles::saveDocument()
{
    const std::optional<QString> path = askSavePath();
    if (!path || !m_guard->maySave(*path))
        return false;
    const bool exists = QFileInfo::exists(*path); // not written yet
    EditingComponent &editor = m_editor;
    // The page is read once and that reading serves the whole save; only bringing files
    // in changes the page, and then it is read again.
    std::optional<PageSnapshot> page = editor.readPage();
    if (page) {
        switch (offerToBringFilesIn(m_window, editor, *page, *path)) {
        case BringIn::Failed:
            return false;
        case BringIn::Rewritten:
            page = editor.readPage();
            break;
        case BringIn::Unchanged:
            break;
        }
    }
    if (!page || !editor.savePage(*path, *page)) {
        messages::warn(&m_window, editor.lastError());
        return false;
    }
    m_guard->saved(*path);
    m_recent.add(*path);
    m_document.markUnchanged(page->html(), page->revision);
    m_recovery.forgetPage();
    messages::inform(&m_window, exists ? QStringLiteral("上書き保存しました。")
                                       : QStringLiteral("保存しました。"));
    return true;
}

QString DocumentFiles::previewPath()
{
    return programfiles::writableFolder() + QStringLiteral("/VeldTemp.htm");
}

void DocumentFiles::preview()
{
    // The copy carries the effects runtime, so that today's browsers play the effects.
    // It lies away from the page: the page's relative names still lead to its folder.
    const QString path = previewPath();
    EditingComponent &editor = m_editor;
    const QString page = editor.documentPath();
    if (!editor.SaveEffectsCopy(path,
                                page.isEmpty() ? QString() : QFileInfo(page).absolutePath())) {
        messages::warn(&m_window, editor.lastError());
        return;
    }
    m_shell.open(path);
}

void DocumentFiles::exportForModernBrowsers()
{
    const std::optional<QString> path = askSavePath();
    if (!path)
        return;
    EditingComponent &editor = m_editor;
    if (!editor.SaveEffectsCopy(*path)) {
        messages::warn(&m_window, editor.lastError());
        return;
    }
    // Statements the runtime cannot run are named, so the user knows what will not play.
    QString text = QStringLiteral("書き出しました。");
    const QList<vbs::Problem> problems = pageWithEffects(editor.DocumentHTML()).problems;
    if (!problems.isEmpty()) {
        text += QStringLiteral("\n\n次のスクリプトは今のブラウザでは動きません。");
        for (const vbs::Problem &p : problems)
            text += QStringLiteral("\n%1 行: %2").arg(p.line).arg(p.message);
    }
    messages::inform(&m_window, text);
}

void DocumentFiles::openInformation(const QString &name)
{
    m_shell.open(programfiles::sideFolder() + QLatin1Char('/') + name);
}

} // namespace lumipage
