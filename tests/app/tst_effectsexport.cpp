// The file commands that carry the effects runtime: the export for today's browsers and
// the preview copy, through the main window.
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/documentfiles.h"

#include <QAction>
#include <QTemporaryDir>

using namespace lumipage;
using namespace lumipage::test;

namespace
{
const QString kEffect = QStringLiteral(
    "<DIV id=veld style=\"filter:revealTrans(Duration=1, Transition=3); visibility:hidden\">x</DIV>"
    "<DIV><SCRIPT TYPE =text/vbscript>\r\nSub window_onload()\r\n  veld.filters.item(0).Apply\r\n"
    "  veld.style.visibility = \"visible\"\r\n  veld.filters.item(0).Play\r\nEnd "
    "Sub\r\n</SCRIPT></DIV>");
}

class TestEffectsExport : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;

private slots:
    // One window for the program: each test starts on an empty, unchanged page.
    void init() { QVERIFY(m_f.reuse()); }
    void cleanupTestCase() { m_f.destroy(); }

    void exportWritesAPlayingCopyAndLeavesThePage()
    {
        QVERIFY(m_f.setPage(kEffect));
        const QString before = m_f.editor().DocumentHTML();
        QAction *item = m_f.window->menuItem("export_modern");
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("モダンブラウザ用に書き出し…"));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("modern.htm"));
        m_f.dialog->files.enqueue(path);
        const auto texts = answerBoxes({QMessageBox::Ok});
        item->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(texts->size(), 1, 5000);
        QCOMPARE(texts->first(), QStringLiteral("書き出しました。"));
        const QString written = QString::fromUtf8(readBytes(path));
        QVERIFY(written.contains(QLatin1String("data-lumipage-runtime")));
        QVERIFY(written.contains(QLatin1String("Sub window_onload()")));
        QCOMPARE(m_f.editor().DocumentHTML(), before);

        // A cancelled dialog writes nothing.
        item->trigger();
        QCOMPARE(m_f.dialog->shown, 2);
    }

    void exportNamesTheStatementsThatWillNotPlay()
    {
        QVERIFY(m_f.setPage(
            QStringLiteral("<DIV><SCRIPT TYPE =text/vbscript>\r\nSub a()\r\n"
                           "  With document\r\n  End With\r\nEnd Sub\r\n</SCRIPT></DIV>")));
        QTemporaryDir dir;
        m_f.dialog->files.enqueue(dir.filePath(QStringLiteral("modern.htm")));
        const auto texts = answerBoxes({QMessageBox::Ok});
        m_f.window->menuItem("export_modern")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(texts->size(), 1, 5000);
        QVERIFY2(texts->first().startsWith(QStringLiteral("書き出しました。")),
                 qPrintable(texts->first()));
        QVERIFY2(texts->first().contains(QStringLiteral("行: With")), qPrintable(texts->first()));
        QCOMPARE(texts->first().count(QStringLiteral(" 行: ")), 2);
    }

    void previewCopyCarriesTheRuntime()
    {
        QVERIFY(m_f.setPage(kEffect));
        m_f.window->menuItem("go_ie40")->trigger();
        QCOMPARE(m_f.shell->opened, QStringList{DocumentFiles::previewPath()});
        const QString written = QString::fromUtf8(readBytes(DocumentFiles::previewPath()));
        QVERIFY(written.contains(QLatin1String("data-lumipage-runtime")));
        QVERIFY(written.contains(QLatin1String("revealTrans(Duration=1")));
    }
};

LUMIPAGE_TEST_MAIN(TestEffectsExport)
#include "tst_effectsexport.moc"
