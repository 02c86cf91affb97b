#include "app/documentrecovery.h"

#include "app/document.h"
#include "platform/editing/editingcomponent.h"
#include "platform/desktop/messages.h"

#include <QFileInfo>
#include <QTimer>

#include <utility>

namespace lumipage
{

DocumentRecovery::DocumentRecovery(EditingComponent &editor, Document &document, QWidget &window,
                                   const QString &folder)
    : m_editor(editor), m_document(document), m_window(window), m_files(folder)
{
    QObject::connect(&editor, &EditingComponent::pageCopied, &window, [this](const QString &html) {
        if (m_files.write(html, m_document.path(), m_document.encoding())) {
            m_writeFailed = false;
            return;
        }
        // Said once until a copy is written again, after the copy that failed has
        // returned to the event loop.
        if (!std::exchange(m_writeFailed, true))
            QTimer::singleShot(0, &m_window, [this, why = m_files.lastError()] {
                messages::warn(&m_window, why);
            });
    });
    QObject::connect(&editor, &EditingComponent::pageBegun, &window, [this] { m_files.remove(); });
    QObject::connect(&editor, &EditingComponent::pageRecovered, &window,
                     [this](const QString &message) { messages::warn(&m_window, message); });
}

bool DocumentRecovery::offerOrphans()
{
    const QList<RecoveryFiles::Orphan> orphans = m_files.takeOrphans();
    for (const RecoveryFiles::Orphan &orphan : orphans) {
        const QString name = orphan.path.isEmpty() ? QStringLiteral("新しいページ")
                                                   : QFileInfo(orphan.path).fileName();
        const auto answer = messages::ask(
            &m_window, QStringLiteral("確認"),
            QStringLiteral("前回保存されなかった編集内容があります。復元しますか？\n\n%1（%2）")
                .arg(name, orphan.time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
        if (answer == QMessageBox::Yes) {
            restore(orphan);
            return true; // the others wait for the next start
        }
        m_files.drop(orphan);
    }
    return false;
}

void DocumentRecovery::restore(const RecoveryFiles::Orphan &orphan)
{
    // The restored page counts as changed: the snapshot the open and close questions
    // compare with is not this page.
    QObject::connect(
        &m_editor, &EditingComponent::DocumentComplete, &m_window,
        [this, orphan] {
            m_document.markChanged();
            // Kept as this editor's own copy before the dead editor's file goes.
            m_files.write(orphan.html, orphan.path, orphan.encoding);
            m_files.drop(orphan);
        },
        Qt::SingleShotConnection);
    m_editor.openRecovered(orphan.html, orphan.path, orphan.encoding);
}

} // namespace lumipage
