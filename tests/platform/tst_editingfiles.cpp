// Pages as files: big pages, encodings kept on save, failures that leave everything whole.
#include "support/testsupport.h"

#include "platform/editing/textcodec.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <unistd.h>

using namespace lumipage;
using namespace lumipage::test;

class TestEditingFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_owner;
    WebEngineEditingComponent *m_editor = nullptr;
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_owner = shownEditor();
        m_editor = m_owner.get();
    }
    void cleanupTestCase() { m_owner.reset(); }

    void bigPageLoadsAndReadsBackWhole()
    {
        QByteArray page = "<HTML><HEAD><TITLE>big</TITLE></HEAD><BODY>\n<TABLE border=1>";
        int row = 0;
        while (page.size() < 5 * 1024 * 1024) {
            page +=
                "<TR><TD>row " + QByteArray::number(row++) +
                "</TD><TD>日本語のテキスト、長い文章。Some long English text follows.</TD></TR>\n";
        }
        page += "</TABLE><P id=last>the very end</P></BODY></HTML>";
        writeBytes(path("big.htm"), page);

        // Its timing against the bare engine is the benchmark's (./dev bench).
        QVERIFY(loadAndWait(*m_editor, path("big.htm")));
        const QString html = m_editor->DocumentHTML();
        QVERIFY(html.toUtf8().size() > 5 * 1024 * 1024);
        QVERIFY(html.contains(QStringLiteral("<TD>row %1</TD>").arg(row - 1)));
        QVERIFY(html.endsWith(QLatin1String("<P id=last>the very end</P></BODY></HTML>")));
    }

    void shiftJisPageIsSavedInShiftJis()
    {
        QVERIFY(loadAndWait(*m_editor, dataFile("sjis.htm")));
        QCOMPARE(m_editor->documentEncoding(), QByteArray("windows-31j"));
        const QString before = m_editor->DocumentHTML();
        QVERIFY(m_editor->SaveDocument(path("saved-sjis.htm")));
        const QByteArray bytes = readBytes(path("saved-sjis.htm"));
        QVERIFY(bytes.contains(
            textcodec::encode(QStringLiteral("①②③ ～ 表示・ソース"), "windows-31j")));
        QVERIFY(!bytes.contains(QStringLiteral("表示").toUtf8()));

        QVERIFY(loadAndWait(*m_editor, path("saved-sjis.htm")));
        QCOMPARE(m_editor->DocumentHTML(), before);
    }

    void eucJpStaysEucJpAndForeignCharactersBecomeReferences()
    {
        QVERIFY(loadAndWait(*m_editor, dataFile("eucjp.htm")));
        QCOMPARE(m_editor->documentEncoding(), QByteArray("EUC-JP"));
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<B>café 😀</B>")));
        QVERIFY(m_editor->SaveDocument(path("saved-euc.htm")));
        const QByteArray bytes = readBytes(path("saved-euc.htm"));
        QVERIFY(bytes.contains("caf\x8F\xAB\xB1 &#128512;")); // é is in JIS X 0212
        QVERIFY(bytes.contains(textcodec::encode(QStringLiteral("漢字、ひらがな"), "EUC-JP")));
    }

    void newPagesAreSavedAsUtf8()
    {
        m_editor->NewDocument();
        QVERIFY(waitForComplete(*m_editor));
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<P>新しいページ</P>")));
        QVERIFY(m_editor->SaveDocument(path("new.htm")));
        QVERIFY(readBytes(path("new.htm")).contains(QStringLiteral("新しいページ").toUtf8()));
    }

    void failedSaveLeavesTheOldFileAndSaysWhy()
    {
        writeBytes(path("keep.htm"), "old contents");
        QVERIFY(!m_editor->SaveDocument(m_dir.path())); // a folder
        QVERIFY(!m_editor->lastError().isEmpty());
        QVERIFY(!m_editor->SaveDocument(path("no/such/folder/x.htm"))); // no folder
        QVERIFY(!m_editor->lastError().isEmpty());
        if (geteuid() != 0) { // root writes into read-only folders anyway
            QDir().mkpath(path("ro"));
            writeBytes(path("ro/keep.htm"), "old contents");
            QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::ExeOwner);
            QVERIFY(!m_editor->SaveDocument(path("ro/keep.htm")));
            QCOMPARE(readBytes(path("ro/keep.htm")), QByteArray("old contents"));
            QFile::setPermissions(path("ro"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QCOMPARE(readBytes(path("keep.htm")), QByteArray("old contents"));
    }

    void unreadableFilesLeaveThePageUntouched_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("missing") << "missing.htm";
        QTest::newRow("folder") << "";
        QTest::newRow("binary") << "image.png";
    }
    void unreadableFilesLeaveThePageUntouched()
    {
        QFETCH(QString, file);
        writeBytes(path("image.png"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        QVERIFY(setHtmlAndWait(
            *m_editor, QStringLiteral("<HTML><HEAD></HEAD><BODY><P>mine</P></BODY></HTML>")));
        const QString before = m_editor->DocumentHTML();
        QVERIFY(!m_editor->LoadDocument(file.isEmpty() ? m_dir.path() : path(file)));
        QVERIFY(!m_editor->lastError().isEmpty());
        QCOMPARE(m_editor->DocumentHTML(), before);
    }

    void relativeImagesResolveBesideThePage()
    {
        QDir().mkpath(path("site/img"));
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(path("site/img/logo.png")));
        writeBytes(path("site/page.htm"),
                   "<HTML><BODY><IMG id=i src=\"img/logo.png\"></BODY></HTML>");
        QVERIFY(loadAndWait(*m_editor, path("site/page.htm")));
        const auto info = m_editor->call(QStringLiteral("elementInfo"), {"i"});
        QVERIFY(info.ok);
        QCOMPARE(info.value.toMap().value("naturalWidth").toInt(), 8);
    }

    void printHtmlCommand()
    {
        const QString program =
            QCoreApplication::applicationDirPath() + QStringLiteral("/lumipage");
        QProcess process;
        process.start(program, {"--print-html", dataFile("sjis.htm")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QString::fromUtf8(process.readAllStandardOutput())
                    .contains(QStringLiteral("シフトJISのページ")));

        process.start(program, {"--print-html", path("missing.htm")});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY(process.exitCode() != 0);
        QVERIFY(process.readAllStandardError().contains("missing.htm"));
    }
};

LUMIPAGE_TEST_MAIN(TestEditingFiles)
#include "tst_editingfiles.moc"
