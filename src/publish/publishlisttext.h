#pragma once

#include "transfer/manifest.h"
#include "transfer/publisher.h"

#include <QList>
#include <QString>

namespace lumipage::publishlisttext
{

// A size for people: "512 バイト", "3.4 KB", "20.0 MB".
QString sizeText(qint64 bytes);

// One row of the list before sending.
struct Row {
    QString path; // under the site's root (the full path for a file outside it)
    QString action; // 送信, 変更なし, サーバー上で変更, 見つかりません, サイトの外
    QString size;           // empty for files not read
    bool checkable = false; // the author decides: files to send and files changed on the server
    bool checked = false;
};
QList<Row> rows(const QList<publishplan::Item> &items);
// The total under the list: what the ticked files come to.
QString totalText(const QList<publishplan::Item> &items);
// The progress dialog's label.
QString progressText(const PublishProgress &progress);
// The message at the end: how many files were sent, or what went wrong and how far it got.
QString doneText(const PublishResult &result);

} // namespace lumipage::publishlisttext
