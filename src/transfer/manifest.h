#pragma once

#include "transfer/publishtarget.h"
#include "transfer/sitefiles.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumipage
{

// What the last publish left on one target: per file the content it sent and what the
// server showed of it right after. It lives on this machine (never on the server), in the
// application's data folder under a name made from the target's identity.
struct Manifest {
    struct Entry {
        QByteArray sha256; // hex
        qint64 size = 0;
        qint64 remoteSize = -1;
        qint64 remoteTime = 0; // seconds since the epoch, as the server gave it; 0 unknown
    };
    QHash<QString, Entry> files; // by place under the remote folder
    // Temporary names a publish may have left on the server (it broke off, or the
    // program was stopped): the next publish removes them first.
    QStringList pending;

    // The manifest's file for a target.
    static QString pathFor(const PublishTarget &target);
    // An absent or unreadable file is an empty manifest: every file is then new.
    static Manifest load(const QString &path);
    // Written atomically; the error in words, or empty.
    QString save(const QString &path) const;
};

// The state of a file on the server.
struct RemoteState {
    bool exists = false;
    qint64 size = -1;
    qint64 time = 0; // seconds since the epoch; 0 when the server gives none
};

namespace publishplan
{

enum class Action { Send, Unchanged, ChangedOnServer, Missing, Outside };
// The action in the list's words: 送信, 変更なし, サーバー上で変更, 見つかりません, サイトの外.
QString actionText(Action action);

struct Item {
    sitefiles::SiteFile file;
    Action action = Action::Send;
    qint64 size = 0;
    QByteArray sha256;   // hex; empty for files not read
    bool ticked = false; // sent when ticked: Send by default, ChangedOnServer only by the author
};

// The content of a local file: SHA-256 in hex and size; nullopt when it cannot be read.
std::optional<QPair<QByteArray, qint64>> digest(const QString &path);

// The plan before the server is asked: files whose content equals the manifest's are
// unchanged, missing and outside ones keep that state, all others are to be sent.
// Pictures and other files first, then sheets, then pages.
QList<Item> localPlan(const QList<sitefiles::SiteFile> &files, const Manifest &manifest);

// The action of a file to be sent once the server told its state: one the server holds
// and that differs from what the manifest recorded after the last upload (or that the
// manifest does not know at all) was changed there by someone else, and is not sent
// unless the author ticks it.
Action remoteAction(const Manifest::Entry *entry, const RemoteState &remote);

} // namespace publishplan

} // namespace lumipage
