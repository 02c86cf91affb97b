#include "platform/editing/pagekeeper.h"

#include "platform/markup/textcodec.h"

namespace lumipage
{

namespace
{
// A page that could not be read (a call in progress, a load) is tried again soon.
constexpr int kRetryMs = 500;
} // namespace

PageKeeper::PageKeeper(std::function<std::optional<QString>()> read, QObject *parent)
    : QObject(parent), m_read(std::move(read))
{
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, &PageKeeper::takeCopy);
}

void PageKeeper::reset(const QString &html)
{
    m_idle.stop();
    m_copy = html;
    m_savedBytes.clear();
    m_copyTime = QDateTime::currentDateTime();
    m_changed = false;
}

void PageKeeper::noteChange()
{
    m_changed = true;
    m_idle.start(m_delayMs); // every change starts the quiet time again
}

void PageKeeper::saved(const QByteArray &bytes, const QByteArray &encoding)
{
    m_idle.stop();
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
    const std::optional<QString> html = m_read();
    if (!html) {
        m_idle.start(kRetryMs);
        return;
    }
    m_copy = *html;
    m_savedBytes.clear();
    m_copyTime = QDateTime::currentDateTime();
    m_changed = false;
    emit copied(m_copy);
}

} // namespace lumipage
