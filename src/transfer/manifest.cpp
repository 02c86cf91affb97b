#include "transfer/manifest.h"

#include "document/atomicfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>

namespace lumipage
{

QString Manifest::pathFor(const PublishTarget &target)
{
    const QByteArray key =
        QCryptographicHash::hash(target.identity().toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/publish/") + QString::fromLatin1(key.left(32)) +
           QStringLiteral(".json");
}

Manifest Manifest::load(const QString &path)
{
    Manifest manifest;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return manifest;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject files = root.value(QLatin1String("files")).toObject();
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        manifest.files.insert(it.key(), {o.value(QLatin1String("sha256")).toString().toLatin1(),
                                         qint64(o.value(QLatin1String("size")).toDouble()),
                                         qint64(o.value(QLatin1String("remoteSize")).toDouble(-1)),
                                         qint64(o.value(QLatin1String("remoteTime")).toDouble())});
    }
    for (const QJsonValue &v : root.value(QLatin1String("pending")).toArray())
        manifest.pending << v.toString();
    return manifest;
}

QString Manifest::save(const QString &path) const
{
    QJsonObject filesObject;
    for (auto it = files.begin(); it != files.end(); ++it)
        filesObject.insert(it.key(), QJsonObject{{"sha256", QString::fromLatin1(it->sha256)},
                                                 {"size", double(it->size)},
                                                 {"remoteSize", double(it->remoteSize)},
                                                 {"remoteTime", double(it->remoteTime)}});
    const QJsonObject root{{"files", filesObject},
                           {"pending", QJsonArray::fromStringList(pending)}};
    QDir().mkpath(QFileInfo(path).path());
    const atomicfile::Result result = atomicfile::write(path, QJsonDocument(root).toJson());
    return result.ok ? QString()
                     : QStringLiteral("公開の記録を書けませんでした（%1）: %2")
                           .arg(result.systemText, path);
}

namespace publishplan
{

QString actionText(Action action)
{
    switch (action) {
    case Action::Send:
        return QStringLiteral("送信");
    case Action::Unchanged:
        return QStringLiteral("変更なし");
    case Action::ChangedOnServer:
        return QStringLiteral("サーバー上で変更");
    case Action::Missing:
        return QStringLiteral("見つかりません");
    case Action::Outside:
        return QStringLiteral("サイトの外");
    }
    return {};
}

std::optional<QPair<QByteArray, qint64>> digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return std::nullopt;
    return QPair<QByteArray, qint64>(hash.result().toHex(), file.size());
}

QList<Item> localPlan(const QList<sitefiles::SiteFile> &files, const Manifest &manifest)
{
    QList<Item> items;
    for (const sitefiles::SiteFile &f : files) {
        Item item{f, Action::Send, 0, {}, false};
        if (f.state == sitefiles::State::Outside) {
            item.action = Action::Outside;
        } else if (const auto content = digest(f.path);
                   f.state == sitefiles::State::Missing || !content) {
            item.action = Action::Missing;
        } else {
            item.sha256 = content->first;
            item.size = content->second;
            const auto known = manifest.files.constFind(f.relative);
            if (known != manifest.files.cend() && known->sha256 == item.sha256)
                item.action = Action::Unchanged;
        }
        item.ticked = item.action == Action::Send;
        items.append(item);
    }
    std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) {
        return int(a.file.kind) < int(b.file.kind);
    });
    return items;
}

Action remoteAction(const Manifest::Entry *entry, const RemoteState &remote)
{
    if (!remote.exists)
        return Action::Send;
    // A server that gives no time is compared by size alone.
    const bool timeDiffers =
        entry && entry->remoteTime && remote.time && entry->remoteTime != remote.time;
    if (!entry || entry->remoteSize != remote.size || timeDiffers)
        return Action::ChangedOnServer;
    return Action::Send;
}

} // namespace publishplan

} // namespace lumipage
