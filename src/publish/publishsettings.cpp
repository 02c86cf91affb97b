#include "publish/publishsettings.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <qt6keychain/keychain.h>

namespace lumipage
{

namespace
{

const QString kGroup = QStringLiteral("publishTargets");
const QString kService = QStringLiteral("Lumipage");

// A settings key of the root's own (slashes would make groups of it).
QString keyOf(const QString &root)
{
    return QString::fromLatin1(
        root.toUtf8().toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

bool within(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

} // namespace

namespace publishsettings
{

std::optional<Site> siteFor(const QString &pagePath)
{
    const QString page = QDir::cleanPath(QFileInfo(pagePath).absoluteFilePath());
    QSettings settings;
    settings.beginGroup(kGroup);
    std::optional<Site> best;
    for (const QString &key : settings.childGroups()) {
        settings.beginGroup(key);
        const QString root = settings.value(QStringLiteral("root")).toString();
        if (!root.isEmpty() && within(page, root) && (!best || root.size() > best->root.size())) {
            PublishTarget t;
            t.protocol = PublishTarget::Protocol(
                qBound(0, settings.value(QStringLiteral("protocol")).toInt(), 4));
            t.host = settings.value(QStringLiteral("host")).toString();
            t.port = settings.value(QStringLiteral("port")).toInt();
            t.user = settings.value(QStringLiteral("user")).toString();
            t.keyFile = settings.value(QStringLiteral("keyFile")).toString();
            t.remoteFolder = settings.value(QStringLiteral("remoteFolder")).toString();
            t.passive = settings.value(QStringLiteral("passive"), true).toBool();
            t.certificatePin = settings.value(QStringLiteral("certificatePin")).toString();
            best = Site{root, t};
        }
        settings.endGroup();
    }
    return best;
}

void store(const Site &site)
{
    QSettings settings;
    settings.beginGroup(kGroup);
    settings.beginGroup(keyOf(site.root));
    settings.setValue(QStringLiteral("root"), site.root);
    settings.setValue(QStringLiteral("protocol"), int(site.target.protocol));
    settings.setValue(QStringLiteral("host"), site.target.host);
    settings.setValue(QStringLiteral("port"), site.target.port);
    settings.setValue(QStringLiteral("user"), site.target.user);
    settings.setValue(QStringLiteral("keyFile"), site.target.keyFile);
    settings.setValue(QStringLiteral("remoteFolder"), site.target.remoteFolder);
    settings.setValue(QStringLiteral("passive"), site.target.passive);
    settings.setValue(QStringLiteral("certificatePin"), site.target.certificatePin);
}

} // namespace publishsettings

bool PasswordStore::secretStoreRuns()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets"));
}

void PasswordStore::find(const QString &identity, std::function<void(std::optional<QString>)> done)
{
    if (m_passwords.contains(identity) || !secretStoreRuns()) {
        done(m_passwords.contains(identity) ? std::optional(m_passwords.value(identity))
                                            : std::nullopt);
        return;
    }
    auto *job = new QKeychain::ReadPasswordJob(kService, this);
    job->setKey(identity);
    connect(job, &QKeychain::Job::finished, this, [this, job, identity, done] {
        if (job->error() != QKeychain::NoError) {
            done(std::nullopt);
            return;
        }
        m_passwords.insert(identity, job->textData());
        done(job->textData());
    });
    job->start();
}

void PasswordStore::remember(const QString &identity, const QString &password)
{
    m_passwords.insert(identity, password);
    if (!secretStoreRuns())
        return;
    auto *job = new QKeychain::WritePasswordJob(kService, this);
    job->setKey(identity);
    job->setTextData(password);
    job->start(); // it deletes itself when done
}

void PasswordStore::forget(const QString &identity)
{
    m_passwords.remove(identity);
    if (!secretStoreRuns())
        return;
    auto *job = new QKeychain::DeletePasswordJob(kService, this);
    job->setKey(identity);
    job->start();
}

} // namespace lumipage
