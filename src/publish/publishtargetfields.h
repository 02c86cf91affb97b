#pragma once

#include "transfer/publishtarget.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace lumipage::publishtargetfields
{

// What the target dialog's fields read.
struct Fields {
    QString protocol; // as the combo reads: FTP, FTPS, SFTP, WebDAV, フォルダ
    QString host;
    QString port; // empty: the protocol's own
    QString user;
    QString password;
    QString keyFile;
    QString remoteFolder;
    bool passive = true;
};

// The combo's entries, in order.
QStringList protocolNames();

// The target the fields describe, or the problem to show (in Japanese) about the first
// field that cannot be used.
std::variant<PublishTarget, QString> target(const Fields &fields);
// The fields showing a target.
Fields fields(const PublishTarget &target);

} // namespace lumipage::publishtargetfields
