#include "app/pageguard.h"

#include "app/diskchanges.h"
#include "document/atomicfile.h"
#include "platform/desktop/messages.h"

#include <QFileInfo>
#include <QWidget>

namespace lumipage
{

namespace
{
const QString kReadOnlyTitle = QStringLiteral(" - 読み取り専用");

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Who has the page open, as the questions about it say it.
QString heldElsewhere(const PageLock::Owner &owner)
{
    const QString unknown = QStringLiteral("不明");
    return QStringLiteral("このページは別のウィンドウで編集中です（%1・%2・%3）。")
        .arg(owner.user.isEmpty() ? unknown : owner.user,
             owner.host.isEmpty() ? unknown : owner.host,
             owner.time.isValid()
                 ? owner.time.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"))
                 : unknown);
}
} // namespace

PageGuard::PageGuard(EditingComponent &editor, Document &document, QWidget &window)
    : QObject(&window), m_window(window), m_changes(new DiskChanges(editor, document, window))
{
    connect(m_changes, &DiskChanges::reloadRequested, this, &PageGuard::reloadRequested);
}

PageGuard::~PageGuard() = default;

bool PageGuard::mayOpen(const QString &path)
{
    const QString page = absolute(path);
    if (page == m_page) {
        m_next = m_readOnly ? Mode::ReadOnly : Mode::Locked;
        return true;
    }
    m_next = Mode::Locked;
    const std::optional<PageLock::Owner> owner = m_lock.otherOwner(page);
    if (!owner)
        return true;
    const auto answer = messages::askWith(
        &m_window, QStringLiteral("確認"), heldElsewhere(*owner) + QStringLiteral("\n\n") + page,
        {{QMessageBox::Open, QStringLiteral("読み取り専用で開く")},
         {QMessageBox::Ignore, QStringLiteral("それでも開く")},
         {QMessageBox::Cancel, QStringLiteral("キャンセル")}},
        QMessageBox::Warning);
    if (answer == QMessageBox::Open)
        m_next = Mode::ReadOnly;
    else if (answer == QMessageBox::Ignore)
        m_next = Mode::Despite;
    else
        return false;
    return true;
}

void PageGuard::opened(const QString &path)
{
    const QString page = absolute(path);
    if (m_next == Mode::Locked)
        m_lock.lock(page); // a folder that cannot hold the lock leaves the page unlocked
    else
        m_lock.unlock();
    m_page = page;
    setReadOnly(m_next == Mode::ReadOnly);
    m_next = Mode::Locked;
    m_changes->follow(page);
    atomicfile::removeStaleTemporaries(QFileInfo(page).absolutePath());
}

bool PageGuard::maySave(const QString &path)
{
    if (m_readOnly && absolute(path) == m_page) {
        messages::warn(&m_window,
                       QStringLiteral("このページは読み取り専用で開いているため、このファイルには"
                                      "保存できません。別の名前を指定すれば保存できます。"));
        return false;
    }
    // Another editor has that file open: saved over, its page and this file part ways.
    const QString page = absolute(path);
    if (page != m_page) {
        if (const std::optional<PageLock::Owner> owner = m_lock.otherOwner(page)) {
            const auto answer =
                messages::askWith(&m_window, QStringLiteral("確認"),
                                  heldElsewhere(*owner) +
                                      QStringLiteral("\n上書きすると、そちらの編集内容と"
                                                     "このファイルが食い違います。\n\n") +
                                      page,
                                  {{QMessageBox::Save, QStringLiteral("上書き")},
                                   {QMessageBox::Cancel, QStringLiteral("キャンセル")}},
                                  QMessageBox::Warning);
            if (answer != QMessageBox::Save)
                return false;
        }
    }
    return m_changes->maySave(path);
}

void PageGuard::saved(const QString &path)
{
    const QString page = absolute(path);
    if (page != m_page) {
        m_lock.lock(page);
        m_page = page;
        setReadOnly(false);
    }
    m_changes->follow(page);
}

void PageGuard::released()
{
    m_lock.unlock();
    m_page.clear();
    setReadOnly(false);
    m_changes->follow({});
}

void PageGuard::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    QString title = m_window.windowTitle();
    title.remove(kReadOnlyTitle);
    m_window.setWindowTitle(readOnly ? title + kReadOnlyTitle : title);
}

} // namespace lumipage
