#include "publish/publishlisttext.h"

namespace lumipage::publishlisttext
{

using publishplan::Action;

namespace
{

bool sendable(const publishplan::Item &item)
{
    return item.file.state == sitefiles::State::Present &&
           (item.action == Action::Send || item.action == Action::ChangedOnServer);
}

} // namespace

QString sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 バイト").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg(bytes / 1024.0, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(bytes / (1024.0 * 1024.0), 0, 'f', 1);
}

QList<Row> rows(const QList<publishplan::Item> &items)
{
    QList<Row> out;
    for (const publishplan::Item &item : items) {
        const bool read = item.action != Action::Missing && item.action != Action::Outside;
        out.append({item.file.relative, publishplan::actionText(item.action),
                    read ? sizeText(item.size) : QString(), sendable(item),
                    sendable(item) && item.ticked});
    }
    return out;
}

QString totalText(const QList<publishplan::Item> &items)
{
    int files = 0;
    qint64 bytes = 0;
    for (const publishplan::Item &item : items)
        if (sendable(item) && item.ticked) {
            ++files;
            bytes += item.size;
        }
    return QStringLiteral("送信するファイル: %1 個（%2）／全 %3 個")
        .arg(files)
        .arg(sizeText(bytes))
        .arg(items.size());
}

QString progressText(const PublishProgress &p)
{
    return QStringLiteral("%1 を送信しています（%2 / %3 個目）\n%4 / %5")
        .arg(p.file)
        .arg(p.filesDone + 1)
        .arg(p.files)
        .arg(sizeText(p.sent), sizeText(p.total));
}

QString doneText(const PublishResult &result)
{
    QString text = result.error.ok()
                       ? QStringLiteral("%1 個のファイルを送信しました。").arg(result.sent)
                       : result.error.message() +
                             QStringLiteral("\n\n送信できたファイル: %1 個").arg(result.sent);
    if (!result.manifestError.isEmpty())
        text += u'\n' + result.manifestError;
    return text;
}

} // namespace lumipage::publishlisttext
