#include "publish/publishtargetfields.h"

#include <QFileInfo>

namespace lumipage::publishtargetfields
{

using Protocol = PublishTarget::Protocol;

QStringList protocolNames()
{
    return {QStringLiteral("FTP"), QStringLiteral("FTPS"), QStringLiteral("SFTP"),
            QStringLiteral("WebDAV"), QStringLiteral("フォルダ")};
}

std::variant<PublishTarget, QString> target(const Fields &fields)
{
    PublishTarget t;
    const qsizetype index = protocolNames().indexOf(fields.protocol);
    if (index < 0)
        return QStringLiteral("プロトコルを選んでください。");
    t.protocol = Protocol(index);
    t.remoteFolder = fields.remoteFolder.trimmed();
    if (t.protocol == Protocol::Folder) {
        if (t.remoteFolder.isEmpty() || !QFileInfo(t.remoteFolder).isAbsolute())
            return QStringLiteral("公開先のフォルダを絶対パスで指定してください。");
        if (!QFileInfo(t.remoteFolder).isDir())
            return QStringLiteral("公開先のフォルダがありません: %1").arg(t.remoteFolder);
        return t;
    }
    t.host = fields.host.trimmed();
    if (t.host.isEmpty())
        return QStringLiteral("サーバーのホスト名を入力してください。");
    if (t.host.contains(u' ') || t.host.contains(u'@'))
        return QStringLiteral(
            "ホスト名に空白や @ は使えません。ユーザー名は別の欄に入力してください。");
    if (!fields.port.trimmed().isEmpty()) {
        bool number = false;
        t.port = fields.port.trimmed().toInt(&number);
        if (!number || t.port < 1 || t.port > 65535)
            return QStringLiteral("ポート番号は 1 から 65535 までの数で入力してください。");
    }
    t.user = fields.user.trimmed();
    if (t.user.isEmpty())
        return QStringLiteral("ユーザー名を入力してください。");
    t.password = fields.password;
    t.passive = fields.passive;
    if (t.protocol == Protocol::Sftp) {
        t.keyFile = fields.keyFile.trimmed();
        if (!t.keyFile.isEmpty() && !QFileInfo(t.keyFile).isFile())
            return QStringLiteral("鍵ファイルがありません: %1").arg(t.keyFile);
    }
    return t;
}

Fields fields(const PublishTarget &target)
{
    return {protocolNames().value(int(target.protocol)),
            target.host,
            target.port > 0 ? QString::number(target.port) : QString(),
            target.user,
            target.password,
            target.keyFile,
            target.remoteFolder,
            target.passive};
}

} // namespace lumipage::publishtargetfields
