#include "platform/markup/textcodec.h"
#include "transfer/cssreferences.h"
#include "transfer/manifest.h"
#include "transfer/sitefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lumipage;
using sitefiles::Kind;
using sitefiles::State;

namespace
{

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString describe(const QList<sitefiles::SiteFile> &files)
{
    QStringList out;
    for (const sitefiles::SiteFile &f : files)
        out << QStringLiteral("%1 %2%3").arg(
            f.state == State::Outside ? QStringLiteral("(outside)") : f.relative,
            QString("OSP")[int(f.kind)],
            f.state == State::Missing ? QStringLiteral(" missing") : QString());
    return out.join(u'\n');
}

} // namespace

class SiteFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void sheetNamesSkipCommentsAndStrings_data()
    {
        QTest::addColumn<QString>("css");
        QTest::addColumn<QString>("names"); // "@" marks an import
        QTest::newRow("plain") << "a{background:url(a.png)}"
                               << "a.png";
        QTest::newRow("quoted, spaced") << "b{background:URL( \"q r.png\" ) }"
                                        << "q r.png";
        QTest::newRow("comment") << "/* url(no.png) @import 'x.css'; */ i{x:url(yes.png)}"
                                 << "yes.png";
        QTest::newRow("in a string") << "p:after{content:\"url(no.png)\";b:url('a\\'b.png')}"
                                     << "a'b.png";
        QTest::newRow("imports")
            << "@import \"s.css\";\n@import url(t.css) screen;\nh{x:url(u.gif)}"
            << "@s.css @t.css u.gif";
        QTest::newRow("escapes") << "x{y:url(\\31 .png)} z{w:u\\72l(e.png)}"
                                 << "1.png e.png";
        QTest::newRow("not a url") << "x{y:myurl(a.png);z:url()}"
                                   << "";
        QTest::newRow("unclosed comment") << "x{y:url(a.png)} /* url(b.png)"
                                          << "a.png";
    }
    void sheetNamesSkipCommentsAndStrings()
    {
        QFETCH(QString, css);
        QFETCH(QString, names);
        QStringList found;
        for (const cssreferences::Reference &r : cssreferences::references(css))
            found << (r.import ? u'@' + r.name : r.name);
        QCOMPARE(found.join(u' '), names);
    }

    void sheetEncodingIsTheSheetsOwn()
    {
        QCOMPARE(cssreferences::sheetEncoding("\xEF\xBB\xBF@charset \"Shift_JIS\";", "EUC-JP"),
                 QByteArray("UTF-8"));
        QCOMPARE(cssreferences::sheetEncoding("@charset \"Shift_JIS\";\na{}", "UTF-8"),
                 textcodec::encodingForLabel("shift_jis"));
        // Only the exact form counts: browsers ignore a rule written otherwise.
        QCOMPARE(cssreferences::sheetEncoding("@charset 'Shift_JIS';", "EUC-JP"),
                 QByteArray("EUC-JP"));
    }

    // A page in Shift_JIS with pictures, a sheet (in its own encoding, importing another
    // whose pictures lie in a folder above it), a frame page with its own picture, an
    // effect's picture named in a script, a link to another page, a missing picture and
    // one outside the site.
    void theSiteIsEveryFileThePageNeeds()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + "/site";
        const QByteArray sjis = textcodec::encodingForLabel("shift_jis");
        write(root + "/index.htm",
              textcodec::encode(
                  "<html><head><meta charset=shift_jis><link rel=stylesheet href=css/site.css>"
                  "<style>/* url(no.png) */ body{background:url(img/back.png)}</style></head>"
                  "<body><img src=\"img/a.png\" srcset=\"img/a2.png 2x, img/a3.png 3x\">"
                  "<iframe src=frame.htm></iframe><a href=other.htm>x</a>"
                  "<img src=gone.png><img src=../outside.png><img src=IMG/A.PNG>"
                  "<script>NextPicture = \"img/next.gif\"; s = \"not/there.gif\";</script>"
                  "<p style=\"background:url('img/p.png')\">写真</p></body></html>",
                  sjis));
        write(root + "/css/site.css",
              textcodec::encode("@charset \"Shift_JIS\";\n@import \"parts/more.css\";\n"
                                "h1{background:url(\"../img/見出し.png\")}",
                                sjis));
        write(root + "/css/parts/more.css", "li{list-style:url(../../img/dot.png)}");
        write(root + "/frame.htm", "<img src=img/f.png>");
        write(root + "/other.htm", "<img src=img/o.png>");
        for (const char *name : {"back.png", "a.png", "a2.png", "a3.png", "next.gif", "p.png",
                                 "見出し.png", "dot.png", "f.png", "o.png"})
            write(root + "/img/" + QString::fromUtf8(name), name);
        write(dir.path() + "/outside.png", "x");

        const QList<sitefiles::SiteFile> files = sitefiles::siteFiles(root + "/index.htm", root);
        QCOMPARE(describe(files), QStringLiteral("index.htm P\ncss/site.css S\n"
                                                 "css/parts/more.css S\nimg/dot.png O\n"
                                                 "img/見出し.png O\nimg/a.png O\n"
                                                 "frame.htm P\nimg/f.png O\ngone.png O missing\n"
                                                 "(outside) O\nIMG/A.PNG O missing\n"
                                                 "img/a2.png O\nimg/a3.png O\nimg/back.png O\n"
                                                 "img/p.png O\nimg/next.gif O"));
        QCOMPARE(files[0].namedAs, QString("index.htm"));
        QCOMPARE(files[9].path, QDir::cleanPath(dir.path() + "/outside.png"));

        sitefiles::Options options;
        options.linkedPages = true;
        const QString withLinked =
            describe(sitefiles::siteFiles(root + "/index.htm", root, options));
        QVERIFY2(withLinked.contains("other.htm P\nimg/o.png O"), qPrintable(withLinked));

        // Pictures before sheets before pages; missing and outside files are never read.
        const QList<publishplan::Item> plan = publishplan::localPlan(files, {});
        QStringList order;
        for (const publishplan::Item &item : plan)
            order << item.file.relative.section(u'/', -1) + u' ' +
                         publishplan::actionText(item.action);
        QCOMPARE(order.mid(0, 2).join(u','), QString("dot.png 送信,見出し.png 送信"));
        QCOMPARE(order.mid(order.size() - 4).join(u','),
                 QString("site.css 送信,more.css 送信,index.htm 送信,frame.htm 送信"));
        QVERIFY(order.contains("gone.png 見つかりません"));
        QCOMPARE(plan[order.indexOf(QRegularExpression(".*サイトの外"))].ticked, false);

        // The case of a link that names a file otherwise than the disk does.
        const QStringList warnings = sitefiles::nameWarnings(files);
        QCOMPARE(warnings.size(), 2);
        QVERIFY2(warnings[0].startsWith("「img/見出し.png」は名前に英数字以外"),
                 qPrintable(warnings[0]));
        QVERIFY2(warnings[1].startsWith(
                     "「IMG/A.PNG」の大文字・小文字がディスク上のファイル（img/a.png）"),
                 qPrintable(warnings[1]));
    }

    void namesAServerMayNotKeep()
    {
        const auto file = [](const QString &relative) {
            return sitefiles::SiteFile{"/s/" + relative, relative};
        };
        const QStringList warnings =
            sitefiles::nameWarnings({file("my photo.png"), file("Logo.png"), file("logo.png")});
        QCOMPARE(warnings, QStringList({"「my photo.png」は名前に空白を含みます。",
                                        "「Logo.png」と「logo.png」は大文字・小文字だけが違います。"
                                        "サーバーによっては同じファイルになります。"}));
    }

    // The manifest decides what is sent: content equal to the last publish is not, and a
    // file the server holds otherwise than it recorded was changed there by someone else.
    void whatChangedAndWhereSince()
    {
        QTemporaryDir dir;
        write(dir.path() + "/a.png", "same");
        write(dir.path() + "/b.png", "new");
        const auto digest = publishplan::digest(dir.path() + "/a.png");
        Manifest manifest;
        manifest.files.insert("a.png", {digest->first, 4, 4, 1000});
        manifest.files.insert("b.png", {"0123", 3, 3, 1000});
        const QList<publishplan::Item> plan = publishplan::localPlan(
            {{dir.path() + "/a.png", "a.png"}, {dir.path() + "/b.png", "b.png"}}, manifest);
        QCOMPARE(plan[0].action, publishplan::Action::Unchanged);
        QCOMPARE(plan[1].action, publishplan::Action::Send);

        using publishplan::Action;
        const Manifest::Entry entry{"x", 3, 3, 1000};
        QCOMPARE(publishplan::remoteAction(&entry, {true, 3, 1000}), Action::Send);
        QCOMPARE(publishplan::remoteAction(&entry, {false}), Action::Send); // gone: send again
        QCOMPARE(publishplan::remoteAction(&entry, {true, 3, 1001}), Action::ChangedOnServer);
        QCOMPARE(publishplan::remoteAction(&entry, {true, 5, 1000}), Action::ChangedOnServer);
        QCOMPARE(publishplan::remoteAction(&entry, {true, 3, 0}), Action::Send); // no time given
        QCOMPARE(publishplan::remoteAction(nullptr, {true, 3, 1000}), Action::ChangedOnServer);

        // The record survives a write and a read.
        manifest.pending = {"img/a b.png"};
        QVERIFY(manifest.save(dir.path() + "/m/manifest.json").isEmpty());
        const Manifest read = Manifest::load(dir.path() + "/m/manifest.json");
        QCOMPARE(read.pending, manifest.pending);
        QCOMPARE(read.files.value("a.png").sha256, digest->first);
        QCOMPARE(read.files.value("b.png").remoteTime, 1000);
    }

    void addresses()
    {
        PublishTarget t;
        t.host = "example.jp";
        t.remoteFolder = "public html";
        QCOMPARE(t.url("img/a b.png"), QString("ftp://example.jp:21/public%20html/img/a%20b.png"));
        t.remoteFolder = "/var/www";
        QCOMPARE(t.url("a.png"), QString("ftp://example.jp:21/%2Fvar/www/a.png"));
        QCOMPARE(t.commandPath("img/a.png"), QString("/var/www/img/a.png"));
        t.protocol = PublishTarget::Protocol::Sftp;
        QCOMPARE(t.url("a.png"), QString("sftp://example.jp:22/var/www/a.png"));
        t.remoteFolder = "www";
        QCOMPARE(t.url("a.png"), QString("sftp://example.jp:22/~/www/a.png"));
        t.protocol = PublishTarget::Protocol::WebDav;
        t.host = "https://example.jp/";
        QCOMPARE(t.url("a.png"), QString("https://example.jp:443/www/a.png"));
    }
};

QTEST_GUILESS_MAIN(SiteFilesTest)
#include "tst_sitefiles.moc"
