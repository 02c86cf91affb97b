#include "app/pagefilecheck.h"

#include "platform/editing/editingcomponent.h"
#include "document/fileerrors.h"
#include "platform/desktop/messages.h"
#include "platform/markup/pagereferences.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace lumipage
{

using namespace pagereferences;

BringIn offerToBringFilesIn(QWidget &window, EditingComponent &editor, const PageSnapshot &page,
                            const QString &savePath)
{
    // The engine's markup is looked at first: the page's form need not be waited for
    // when no name could be absolute.
    if (!mayNameFilesAbsolutely(page.markup))
        return BringIn::Unchanged;
    const QString html = page.html();
    if (!mayNameFilesAbsolutely(html))
        return BringIn::Unchanged;
    const QString folder = QFileInfo(savePath).absolutePath();
    const QList<LocalReference> references = localReferences(html, folder);
    const QStringList files = filesToBringIn(references);
    if (files.isEmpty())
        return BringIn::Unchanged;
    const auto answer =
        messages::ask(&window, QStringLiteral("確認"),
                      QStringLiteral("ページのフォルダの外にある画像が %1 個あります。"
                                     "ページのフォルダにコピーして相対パスにしますか？")
                          .arg(files.size()),
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
    if (answer != QMessageBox::Yes)
        return BringIn::Unchanged;
    const CopyPlan plan = planCopies(files, folder);
    for (const CopyStep &step : plan.steps) {
        errno = 0;
        QFile source(step.source);
        if (step.copy && !source.copy(step.target)) {
            const int observed = errno;
            messages::warn(&window,
                           QStringLiteral("「%1」を「%2」にコピーできません。%3\n"
                                          "ページは保存していません。")
                               .arg(step.source, step.target,
                                    fileerrors::whyWriteFailed(step.target, source.size(), observed,
                                                               source.errorString())));
            return BringIn::Failed;
        }
    }
    editor.replaceReferences(rewrites(references, plan));
    return BringIn::Rewritten;
}

} // namespace lumipage
