// What a page author meets every day, without the engine: why a save failed, special
// files, the recent-files list, what a drop means, the page check and bringing files
// into the page's folder, and the toolbar's icons.
#include "support/testsupport.h"

#include "app/commandtables.h"
#include "app/filedrop.h"
#include "app/recentfiles.h"
#include "document/fileerrors.h"
#include "platform/markup/htmltags.h"
#include "document/pagefile.h"
#include "platform/markup/pagereferences.h"
#include "widgets/icons.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace lumipage;
using namespace lumipage::test;
using namespace lumipage::pagereferences;

class TestEveryday : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void aFailedSaveNamesItsCause_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing folder") << "gone/page.htm"
                                        << "保存先のフォルダがありません。";
        QTest::newRow("a folder by that name") << "folder.htm"
                                               << "はフォルダです。";
        QTest::newRow("name too long") << QString(300, QLatin1Char('n')) + ".htm"
                                       << "ファイル名が長すぎます。";
        QTest::newRow("read-only folder") << "locked/page.htm"
                                          << "書き込む権限がありません。";
    }
    void aFailedSaveNamesItsCause()
    {
        QFETCH(QString, name);
        QFETCH(QString, cause);
        QVERIFY(QDir().mkpath(path("folder.htm")));
        QVERIFY(QDir().mkpath(path("locked")));
        if (name.startsWith("locked")) {
            if (::geteuid() == 0)
                QSKIP("a read-only folder does not stop the superuser");
            QVERIFY(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
        }
        QString error;
        QVERIFY(!pagefile::write(path(name), "<P>x</P>", "UTF-8", &error));
        QFile::setPermissions(path("locked"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(error.contains(cause), qPrintable(error));
    }

    void aProbeFindsTheCauseTheErrorNumberLeftOut()
    {
        // An error number that names a cause wins; otherwise the folder tells.
        QCOMPARE(fileerrors::probeWrite(path("x.htm"), 10, ENOSPC), ENOSPC);
        QCOMPARE(fileerrors::probeWrite(path("gone/x.htm"), 10, 0), ENOENT);
        QCOMPARE(fileerrors::probeWrite(path("x.htm"), qint64(1) << 60, 0), ENOSPC);
        QCOMPARE(fileerrors::probeWrite(path("x.htm"), 10, 0), 0);
        // Nothing known: the system's own text, never Qt's "unknown error".
        QCOMPARE(fileerrors::whyWriteFailed(path("x.htm"), 10, 0, "Unknown error"),
                 QStringLiteral("書き込みが完了しませんでした。"));
        QCOMPARE(fileerrors::whyWriteFailed(path("x.htm"), 10, EXDEV, "Unknown error"),
                 QString::fromLocal8Bit(strerror(EXDEV)));
    }

    void aSaveIntoAMissingFolderSaysSoAndKeepsTheOldFile()
    {
        QString error;
        QVERIFY(!pagefile::write(path("gone/page.htm"), "<P>x</P>", "UTF-8", &error));
        QVERIFY2(error.contains("保存先のフォルダがありません。"), qPrintable(error));
        // Into a "folder" that is a file: the file stays as it was.
        writeBytes(path("plain"), "KEEP");
        QVERIFY(!pagefile::write(path("plain/page.htm"), "<P>x</P>", "UTF-8", &error));
        QVERIFY2(error.contains("保存先のフォルダがありません。"), qPrintable(error));
        QCOMPARE(readBytes(path("plain")), QByteArray("KEEP"));
    }

    void specialFilesAreRefusedWithoutWaiting()
    {
        const QString fifo = path("pipe.htm");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QElapsedTimer clock;
        clock.start();
        pagefile::Page page;
        QString error;
        QVERIFY(!pagefile::read(fifo, &page, &error));
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(error, QStringLiteral("「%1」は名前付きパイプ（FIFO）です。"
                                       "ページのファイルではないので開けません。")
                            .arg(fifo));
        QVERIFY(!pagefile::read("/dev/zero", &page, &error));
        QVERIFY(error.contains("デバイスファイル"));
        QCOMPARE(fileerrors::specialFileKind(path("none")), QString());
        QCOMPARE(fileerrors::specialFileKind(m_dir.path()), QString());
    }

    void recentFilesKeepTheNewestTenOnce()
    {
        QSettings settings(path("recent.ini"), QSettings::IniFormat);
        RecentFiles recent(settings);
        for (int i = 1; i <= 12; ++i) {
            writeBytes(path(QStringLiteral("p%1.htm").arg(i)), "<P>");
            recent.add(path(QStringLiteral("p%1.htm").arg(i)));
        }
        recent.add(path("p5.htm")); // again: moves up, not twice
        QStringList paths = recent.paths();
        QCOMPARE(paths.size(), RecentFiles::kLimit);
        QCOMPARE(paths.first(), path("p5.htm"));
        QCOMPARE(paths.at(1), path("p12.htm"));
        QCOMPARE(paths.count(path("p5.htm")), 1);
        QVERIFY(!paths.contains(path("p2.htm")));
        // Kept between runs, missing files dropped, cleared.
        QFile::remove(path("p12.htm"));
        RecentFiles later(settings);
        QCOMPARE(later.paths(), paths);
        paths.removeAll(path("p12.htm"));
        QCOMPARE(later.dropMissing(), paths);
        QCOMPARE(RecentFiles(settings).paths(), paths);
        later.clear();
        QVERIFY(later.paths().isEmpty());
    }

    void aDropIsOpenedInsertedOrRefused()
    {
        const auto urls = [](std::initializer_list<const char *> paths) {
            QList<QUrl> list;
            for (const char *p : paths)
                list << QUrl::fromLocalFile(QString::fromUtf8(p));
            return list;
        };
        FileDrop drop = classifyFileDrop(urls({"/d/page.HTML"}), false);
        QCOMPARE(drop.action, FileDrop::Action::OpenPage);
        QCOMPARE(drop.paths, QStringList{"/d/page.HTML"});
        drop = classifyFileDrop(urls({"/d/a.png", "/d/b.JPG"}), true);
        QCOMPARE(drop.action, FileDrop::Action::InsertImages);
        QCOMPARE(drop.paths, (QStringList{"/d/a.png", "/d/b.JPG"}));
        drop = classifyFileDrop(urls({"/d/a.png"}), false); // beside the page, or browsing
        QCOMPARE(drop.action, FileDrop::Action::Refuse);
        QCOMPARE(drop.message,
                 QStringLiteral("画像は編集モードのページの上にドロップしてください。"));
        drop = classifyFileDrop(urls({"/d/notes.txt"}), true);
        QCOMPARE(drop.message,
                 QStringLiteral("「notes.txt」はHTMLファイルでも画像でもないため、開けません。"));
        drop = classifyFileDrop(urls({"/d/a.htm", "/d/b.htm"}), true);
        QCOMPARE(drop.message, QStringLiteral("ページは一度に一つずつドロップしてください。"));
        drop = classifyFileDrop({QUrl("https://example.org/a.png")}, true);
        QCOMPARE(drop.action, FileDrop::Action::Refuse);
    }

    void thePreviewCopyFindsThePagesFiles()
    {
        QCOMPARE(htmltags::withBaseFolder(
                     "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><IMG src=a.png>", "/home/u/my site"),
                 QStringLiteral("<HTML><HEAD><BASE href=\"file:///home/u/my%20site/\">"
                                "<TITLE>t</TITLE></HEAD><BODY><IMG src=a.png>"));
        QCOMPARE(htmltags::withBaseFolder("<!-- <HEAD> --><P>x</P>", "/s"),
                 QStringLiteral("<BASE href=\"file:///s/\"><!-- <HEAD> --><P>x</P>"));
        const QString own = QStringLiteral("<HEAD><BASE href=http://example.org/></HEAD>");
        QCOMPARE(htmltags::withBaseFolder(own, "/s"), own);
    }

    void localReferencesAreFoundWithTheirLines()
    {
        const QString html =
            QStringLiteral("<HTML><BODY background=/pics/bg.gif>\n"
                           "<IMG src=\"a b.png\" alt=x>\n"
                           "<!-- <IMG src=/commented.png> -->\n"
                           "<A href=http://example.org/>web</A> <A href=\"#top\">top</A>\n"
                           "<A href=../up.htm>up</A><IMG src='file:///abs/c.png?v=1'>\n"
                           "<SCRIPT>var s = '<IMG src=/in/script.png>';</SCRIPT>\n"
                           "<LINK rel=stylesheet href=s.css></BODY></HTML>");
        const QList<LocalReference> refs = localReferences(html, "/site/pages");
        QStringList seen;
        for (const LocalReference &r : refs)
            seen << QStringLiteral("%1 %2 %3 %4%5%6%7")
                        .arg(r.line)
                        .arg(r.element, r.attribute, r.path)
                        .arg(r.absolute ? " absolute" : "", r.outside ? " outside" : "",
                             r.embedded ? " embedded" : "");
        QCOMPARE(seen, (QStringList{"1 BODY background /pics/bg.gif absolute outside embedded",
                                    "2 IMG src /site/pages/a b.png embedded",
                                    "5 A href /site/up.htm outside",
                                    "5 IMG src /abs/c.png absolute outside embedded",
                                    "7 LINK href /site/pages/s.css embedded"}));
        // A page never saved: relative names resolve nowhere.
        QCOMPARE(localReferences("<IMG src=a.png>", QString()).first().path, QString(""));

        // The quick look a save takes first never misses an absolute name, however it is
        // written, and lets a page of relative and web names through without the tags read.
        for (const QString &absolute :
             {QStringLiteral("<IMG SRC = ' /x.png'>"), QStringLiteral("<BODY Background=/b.gif>"),
              QStringLiteral("<IMG src=\"FILE:///x.png\">"), QStringLiteral("<IMG src=&#47;x.png>"),
              QStringLiteral("<OBJECT data=\"&#x2F;x.swf\">")})
            QVERIFY2(mayNameFilesAbsolutely(absolute) &&
                         localReferences(absolute, "/site").first().absolute,
                     qPrintable(absolute));
        QVERIFY(!mayNameFilesAbsolutely("<IMG src=a.png><A href=http://example.org/>"
                                        "<A href='../up.htm'><P data-x=\"/no\">"));
    }

    void thePageCheckListsEachKind()
    {
        QDir().mkpath(path("site"));
        writeBytes(path("site/there.png"), "PNG");
        const QString html = QStringLiteral("<BODY>\n<IMG src=there.png alt=ok>\n"
                                            "<IMG src=missing.png>\n"
                                            "<A href=%1>abs</A>\n")
                                 .arg(path("site/there.png"));
        QStringList lines;
        for (const Finding &f : checkPage(html, path("site")))
            lines << QStringLiteral("%1 %2 %3: %4")
                         .arg(f.line)
                         .arg(f.start)
                         .arg(f.element, f.message());
        QCOMPARE(lines, QStringList({QStringLiteral("3 34 IMG: ファイルがありません: missing.png"),
                                     QStringLiteral("4 56 A: 絶対パスで指定されています: %1")
                                         .arg(path("site/there.png"))}));
    }

    void filesComeInUnderFreeNamesAndNeverOverwrite()
    {
        QDir().mkpath(path("in"));
        QDir().mkpath(path("out/a"));
        QDir().mkpath(path("out/b"));
        writeBytes(path("out/a/photo.png"), "AAA");
        writeBytes(path("out/b/photo.png"), "BBB");
        writeBytes(path("out/a/same.png"), "SAME");
        writeBytes(path("out/a/new.gif"), "NEW");
        writeBytes(path("in/photo.png"), "OLD"); // a different file of the same name
        writeBytes(path("in/photo-2.png"), "OLD2");
        writeBytes(path("in/same.png"), "SAME"); // the very bytes: reused
        const QString html =
            QStringLiteral("<IMG src=%1><IMG src=%2><IMG src=%3>"
                           "<IMG src=%4><IMG src=%1><A href=%5>x</A>"
                           "<IMG src=%6>")
                .arg(path("out/a/photo.png"), path("out/b/photo.png"), path("out/a/same.png"),
                     path("out/a/new.gif"), path("out/page.htm"), path("out/a/none.png"));
        const QList<LocalReference> refs = localReferences(html, path("in"));
        const QStringList files = filesToBringIn(refs); // each once; no pages, no missing
        QCOMPARE(files, (QStringList{path("out/a/photo.png"), path("out/b/photo.png"),
                                     path("out/a/same.png"), path("out/a/new.gif")}));
        const CopyPlan plan = planCopies(files, path("in"));
        QStringList steps;
        for (const CopyStep &s : plan.steps)
            steps << QDir(m_dir.path()).relativeFilePath(s.target) + (s.copy ? "" : " (same)");
        QCOMPARE(steps, (QStringList{"in/photo-3.png", "in/photo-4.png", "in/same.png (same)",
                                     "in/new.gif"}));
        const QHash<QString, QString> names = rewrites(refs, plan);
        QCOMPARE(names.value(path("out/b/photo.png")), QStringLiteral("photo-4.png"));
        QCOMPARE(names.size(), 4);
    }

    void everyToolbarKeyHasAnIcon()
    {
        for (const ToolbarRow &row : kToolbar) {
            const QString key = QString::fromLatin1(row.key);
            QVERIFY2(QFile::exists(Icons::ownIconPath(key)), row.key);
            QVERIFY2(!Icons::forKey(key).pixmap(16, 16).isNull(), row.key);
        }
        // A theme without the name still gives our own drawing.
        QIcon::setThemeName(QStringLiteral("no-such-theme"));
        QVERIFY(!Icons::forKey(QStringLiteral("moji_bold")).pixmap(16, 16).isNull());
        QVERIFY(!Icons::forKey(QStringLiteral("unknown")).isNull());
        QVERIFY(!Icons::application().pixmap(64, 64).isNull());
    }
};

LUMIPAGE_TEST_MAIN(TestEveryday)
#include "tst_everyday.moc"
