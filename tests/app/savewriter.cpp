// Saves a page over and over through the editor's own write roads, alternating two
// versions, until it is killed: the page file (page MODE) or the recovery copy (recovery
// MODE). Started and killed by tst_killsave.
#include "document/recoveryfiles.h"
#include "document/pagefile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <optional>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const QString target = args.at(2);
    QString versions[2];
    for (int i = 0; i < 2; ++i) {
        QFile file(args.at(3 + i));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        versions[i] = QString::fromUtf8(file.readAll());
    }
    const bool recovery = args.at(1) == QLatin1String("recovery");
    std::optional<lumipage::RecoveryFiles> copies;
    if (recovery)
        copies.emplace(target);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    QString error;
    for (int i = 0;; i ^= 1) {
        const bool written =
            recovery ? copies->write(versions[i], QStringLiteral("/a/page.htm"), "UTF-8")
                     : lumipage::pagefile::write(target, versions[i], "UTF-8", &error);
        if (!written)
            return 1;
    }
}
