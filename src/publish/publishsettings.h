#pragma once

#include "transfer/publishtarget.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace lumipage
{

namespace publishsettings
{

// A site: its local root folder and where it is published.
struct Site {
    QString root;
    PublishTarget target;
};

// The site a page belongs to: the stored one whose root is the page's folder or the
// nearest folder above it.
std::optional<Site> siteFor(const QString &pagePath);
// Stores a site's target in the settings, keyed by its root; the password never goes there.
void store(const Site &site);

} // namespace publishsettings

// Passwords of publish targets: in the desktop's secret store (Secret Service) when one
// runs, and for the rest of the run in memory, so that without a store the author types
// a password once per run.
class PasswordStore : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether a Secret Service answers on the session bus.
    static bool secretStoreRuns();
    // The password kept for a target (`identity`); nullopt when none is known. Calls
    // `done` later when the secret store must be asked.
    void find(const QString &identity, std::function<void(std::optional<QString>)> done);
    void remember(const QString &identity, const QString &password);
    // Forgets a password the server refused, so that the next publish asks again.
    void forget(const QString &identity);

private:
    QHash<QString, QString> m_passwords;
};

} // namespace lumipage
