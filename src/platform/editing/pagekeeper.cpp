#include "platform/editing/pagekeeper.h"

#include "platform/markup/textcodec.h"

#include <QPointer>

namespace lumipage
{

namespace
{
// A page that could not be read (a call in progress, a load) is tried again soon.
constexpr int kRetryMs = 500;
} // namespace

PageKeeper::PageKeeper(Read read, QObject *parent) : QObject(parent), m_read(std::move(read))
{
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, &PageKeeper::takeCopy);
}

void PageKeeper::reset(const QString &html)
{
    m_idle.stop();
    m_reading = false; // what a reading under way brings is dropped
    ++m_begun;
    m_copy = html;
    m_savedBytes.clear();
    m_copyTime = QDateTime::currentDateTime();
    m_changed = false;
}

void PageKeeper::noteChange()
{
    m_changed = true;
    ++m_changes;
    m_idle.start(m_delayMs); // every change starts the quiet time again
}

void PageKeeper::saved(const QByteArray &bytes, const QByteArray &encoding)
{
    m_idle.stop();
    m_reading = false; // what a reading under way brings is dropped
    ++m_begun;
    m_copy.clear();
    m_savedBytes = bytes;
    m_savedEncoding = encoding;
    m_copyTime = QDateTime::currentDateTime();
    m_changed = false;
}

QString PageKeeper::copy() const
{
    if (m_savedBytes.isNull())
        return m_copy;
    const std::optional<textcodec::Decoded> decoded =
        textcodec::decode(m_savedBytes, m_savedEncoding);
    return decoded ? decoded->text : QString::fromUtf8(m_savedBytes);
}

QString PageKeeper::restoreMessage() const
{
    if (!m_changed)
        return tr("表示エンジンが停止したため、ページを復元しました。失われた編集はありません。");
    const qint64 seconds = std::max<qint64>(1, m_copyTime.secsTo(QDateTime::currentDateTime()));
    return tr("表示エンジンが停止したため、%1 秒前の状態から復元しました。").arg(seconds);
}

void PageKeeper::takeCopy()
{
    if (m_reading)
        return; // the reading under way ends with a copy or a retry
    m_reading = true;
    m_read([self = QPointer(this), changes = m_changes,
            begun = m_begun](const std::optional<QString> &html) {
        if (self)
            self->copyRead(html, changes, begun);
    });
}

void PageKeeper::copyRead(const std::optional<QString> &html, quint64 changes, quint64 begun)
{
    if (begun != m_begun)
        return; // a page began or was saved while this one was read
    m_reading = false;
    if (!html) {
        if (!m_idle.isActive())
            m_idle.start(kRetryMs);
        return;
    }
    m_copy = *html;
    m_savedBytes.clear();
    m_copyTime = QDateTime::currentDateTime();
    // A change while the page was read comes in the next copy (its quiet time is running).
    m_changed = changes != m_changes;
    emit copied(m_copy);
}

} // namespace lumipage
