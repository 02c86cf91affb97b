// A save killed at any moment leaves the old page or the new one, never a mix, and the
// temporary file it was writing goes at the next start.
#include "document/atomicfile.h"
#include "document/pagefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <thread>

using namespace lumipage;

namespace
{

// A page of about `size` bytes whose every line says which version it is.
QByteArray pageOf(char version, int size)
{
    QByteArray page = "<HTML><BODY>\n";
    const QByteArray line = QByteArray("<P>version ") + version + " " + QByteArray(60, version) +
                            " \xE6\x97\xA5\xE6\x9C\xAC</P>\n";
    while (page.size() < size)
        page += line;
    return page + "</BODY></HTML>\n";
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

class TestKillSave : public QObject
{
    Q_OBJECT

    QString writer() const
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/lumipage-savewriter");
    }

    // Starts the writer and kills it `delay` after it began writing; the temporary files
    // it left behind.
    int killAfter(const QStringList &arguments, std::chrono::microseconds delay, QDir folder)
    {
        QProcess process;
        process.start(writer(), arguments);
        if (!process.waitForReadyRead(10000))
            return -1;
        std::this_thread::sleep_for(delay);
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(10000);
        int temporaries = 0;
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
            temporaries += atomicfile::isTemporaryName(name);
        return temporaries;
    }

private slots:
    void aKilledSaveLeavesTheOldPageOrTheNewOne()
    {
        QTemporaryDir dir;
        const int size = 5 * 1024 * 1024;
        const QByteArray old = pageOf('o', size), a = pageOf('a', size), b = pageOf('b', size);
        const QString page = dir.filePath(QStringLiteral("page.htm"));
        QString error;
        QVERIFY(pagefile::writeBytes(dir.filePath(QStringLiteral("a.src")), a, &error));
        QVERIFY(pagefile::writeBytes(dir.filePath(QStringLiteral("b.src")), b, &error));
        // One save's time spreads the kills over the first saves.
        QElapsedTimer timer;
        timer.start();
        QVERIFY(pagefile::write(page, QString::fromUtf8(a), "UTF-8", &error));
        QVERIFY(pagefile::writeBytes(page, old, &error));
        const qint64 saveUs = std::max<qint64>(timer.nsecsElapsed() / 1000, 2000);

        const int runs = 30;
        int killedMidway = 0, oldKept = 0;
        for (int run = 0; run < runs; ++run) {
            const auto delay = std::chrono::microseconds(saveUs * 3 / 2 * run / runs);
            const int left = killAfter(
                {QStringLiteral("page"), page, dir.filePath("a.src"), dir.filePath("b.src")}, delay,
                QDir(dir.path()));
            QVERIFY2(left >= 0, "the writer did not start");
            killedMidway += left > 0;
            const QByteArray bytes = readAll(page);
            QVERIFY2(bytes == old || bytes == a || bytes == b,
                     qPrintable(QStringLiteral("run %1 (%2 us): %3 bytes, neither old nor new")
                                    .arg(run)
                                    .arg(delay.count())
                                    .arg(bytes.size())));
            oldKept += bytes == old;
            // The next start (or open of the page) takes the dead writer's file away.
            QCOMPARE(atomicfile::removeStaleTemporaries(dir.path()), left);
            if (bytes != old)
                QVERIFY(pagefile::writeBytes(page, old, &error));
        }
        qInfo("%d kills, %d midway through a save, %d left the old page; one save %lld us", runs,
              killedMidway, oldKept, saveUs);
        QVERIFY(killedMidway > 0);
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, QStringList({"a.src", "b.src", "page.htm"}));
    }

    // A save puts its bytes on the disk before it has checked them: until it commits, the
    // page is the old one, and a write given up leaves no temporary file behind.
    void aWriteBegunAndNotCommittedLeavesTheOldPage()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("page.htm"));
        const QByteArray a = pageOf('a', 4096), b = pageOf('b', 4096);
        QString error;
        QVERIFY(pagefile::writeBytes(page, a, &error));
        const auto temporaries = [&] {
            int count = 0;
            for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
                count += atomicfile::isTemporaryName(name);
            return count;
        };
        {
            std::optional<atomicfile::Pending> given = pagefile::beginWrite(page, b, &error);
            QVERIFY2(given, qPrintable(error));
            QCOMPARE(readAll(page), a);
            QCOMPARE(temporaries(), 1);
        }
        QCOMPARE(readAll(page), a);
        QCOMPARE(temporaries(), 0);
        std::optional<atomicfile::Pending> kept = pagefile::beginWrite(page, b, &error);
        QVERIFY(kept && pagefile::commitWrite(*kept, page, b.size(), &error));
        QCOMPARE(readAll(page), b);
        QCOMPARE(temporaries(), 0);
        QVERIFY(!pagefile::beginWrite(dir.path(), b, &error));
        QVERIFY(error.contains(QStringLiteral("フォルダ")));
    }

    void aKilledRecoveryCopyIsWholeJson()
    {
        QTemporaryDir dir;
        const QByteArray a = pageOf('a', 1024 * 1024), b = pageOf('b', 1024 * 1024);
        QString error;
        QVERIFY(pagefile::writeBytes(dir.filePath(QStringLiteral("a.src")), a, &error));
        QVERIFY(pagefile::writeBytes(dir.filePath(QStringLiteral("b.src")), b, &error));
        const QString folder = dir.filePath(QStringLiteral("recovery"));
        for (int run = 0; run < 6; ++run) {
            QVERIFY(killAfter({QStringLiteral("recovery"), folder, dir.filePath("a.src"),
                               dir.filePath("b.src")},
                              std::chrono::milliseconds(run * 3), QDir(folder)) >= 0);
            for (const QString &name :
                 QDir(folder).entryList({QStringLiteral("*.recovery")}, QDir::Files)) {
                const QString html = QJsonDocument::fromJson(readAll(QDir(folder).filePath(name)))
                                         .object()
                                         .value(QStringLiteral("html"))
                                         .toString();
                QVERIFY(html.toUtf8() == a || html.toUtf8() == b);
                QFile::remove(QDir(folder).filePath(name));
            }
            atomicfile::removeStaleTemporaries(folder);
        }
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(!atomicfile::isTemporaryName(name), qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(TestKillSave)
#include "tst_killsave.moc"
