#include "transfer/publishtarget.h"

#include <QStringList>
#include <QUrl>

namespace lumipage
{

namespace
{

QString hostName(const QString &host)
{
    QString name = host.trimmed();
    for (const char *scheme : {"https://", "http://"})
        if (name.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            name = name.mid(qsizetype(strlen(scheme)));
    while (name.endsWith(u'/'))
        name.chop(1);
    return name;
}

bool webDavTls(const QString &host)
{
    return host.trimmed().startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QStringList parts(const QString &path)
{
    return path.split(u'/', Qt::SkipEmptyParts);
}

} // namespace

int PublishTarget::effectivePort() const
{
    if (port > 0)
        return port;
    switch (protocol) {
    case Protocol::Ftp:
    case Protocol::Ftps:
        return 21;
    case Protocol::Sftp:
        return 22;
    case Protocol::WebDav:
        return webDavTls(host) ? 443 : 80;
    case Protocol::Folder:
        break;
    }
    return 0;
}

QString PublishTarget::commandPath(const QString &relative) const
{
    QStringList all = parts(remoteFolder) + parts(relative);
    const QString joined = all.join(u'/');
    return remoteFolder.startsWith(u'/') ? u'/' + joined : joined;
}

QString PublishTarget::url(const QString &relative) const
{
    QString scheme;
    switch (protocol) {
    case Protocol::Ftp:
    case Protocol::Ftps: // explicit TLS: an ftp: address with TLS required
        scheme = QStringLiteral("ftp");
        break;
    case Protocol::Sftp:
        scheme = QStringLiteral("sftp");
        break;
    case Protocol::WebDav:
        scheme = webDavTls(host) ? QStringLiteral("https") : QStringLiteral("http");
        break;
    case Protocol::Folder:
        return commandPath(relative);
    }
    // An empty `relative` names the server's own start (for commands that take their own
    // paths); a file's folders go from the login folder unless the remote folder starts
    // with "/" (FTP: "%2F" leads to the root; SFTP: "~" is the home folder).
    QString path = QStringLiteral("/");
    if (!relative.isEmpty()) {
        QStringList encoded;
        for (const QString &part : parts(remoteFolder) + parts(relative))
            encoded << QString::fromLatin1(QUrl::toPercentEncoding(part));
        const bool absolute = remoteFolder.startsWith(u'/');
        if (protocol == Protocol::Sftp && !absolute)
            path += QStringLiteral("~/");
        else if (protocol != Protocol::Sftp && protocol != Protocol::WebDav && absolute)
            path += QStringLiteral("%2F");
        path += encoded.join(u'/');
    }
    QString name = hostName(host);
    if (name.contains(u':') && !name.startsWith(u'['))
        name = u'[' + name + u']'; // an IPv6 address
    return QStringLiteral("%1://%2:%3%4").arg(scheme, name).arg(effectivePort()).arg(path);
}

QString PublishTarget::identity() const
{
    const char *names[] = {"ftp", "ftps", "sftp", "webdav", "folder"};
    if (protocol == Protocol::Folder)
        return QStringLiteral("folder:") + remoteFolder;
    return QStringLiteral("%1://%2@%3:%4/%5")
        .arg(QLatin1String(names[int(protocol)]), user, hostName(host).toLower())
        .arg(effectivePort())
        .arg(commandPath(QString()));
}

} // namespace lumipage
