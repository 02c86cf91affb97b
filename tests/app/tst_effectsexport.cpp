// The effects runtime where nothing is timed, through the main window: the export for
// today's browsers, the preview copy, the exported copy in a plain view, the page's own
// dialogs in browse mode and a page without effects. (The timed plays: tst_effectsplay.)
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/documentfiles.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QWebEngineView>

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

    // Accepts the next `count` boxes the page shows, collecting their messages; anything
    // else that comes up is closed, so that the test fails instead of waiting.
    static void answerPageDialogs(int count, std::shared_ptr<QStringList> texts)
    {
        if (count == 0)
            return;
        answerNextModal([count, texts](QWidget *w) {
            auto *dialog = qobject_cast<QDialog *>(w);
            auto *buttons = w->findChild<QDialogButtonBox *>();
            if (!dialog || !buttons || w->objectName() != QLatin1String("pageDialog")) {
                w->close();
                return;
            }
            *texts << w->findChild<QLabel *>()->text();
            answerPageDialogs(count - 1, texts);
            buttons->button(QDialogButtonBox::Ok)->click();
        });
    }

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

    void exportedCopyPlaysInAPlainViewAndThePageStaysAsItWas()
    {
        // A page in Shift_JIS: the copy is written in the page's encoding.
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("sjis.htm"));
        QString html = QString::fromUtf8(readBytes(dataFile(QStringLiteral("effects/onload.htm"))));
        html.replace(
            QLatin1String("<HEAD>"),
            QLatin1String(
                "<HEAD><META http-equiv=Content-Type content=\"text/html; charset=Shift_JIS\">"));
        writeBytes(page, QStringEncoder("Shift_JIS").encode(html));
        QVERIFY(loadAndWait(m_f.editor(), page));
        const QByteArray original = readBytes(page);
        const QString copy = dir.filePath(QStringLiteral("modern.htm"));
        QVERIFY2(m_f.editor().SaveEffectsCopy(copy), qPrintable(m_f.editor().lastError()));
        // Over the page's own file: refused, the file untouched.
        QVERIFY(!m_f.editor().SaveEffectsCopy(page));
        QVERIFY(!m_f.editor().lastError().isEmpty());
        QCOMPARE(readBytes(page), original);
        QVERIFY(!m_f.editor().DocumentHTML().contains(QLatin1String("lumipage")));

        const QString written = QStringDecoder("Shift_JIS").decode(readBytes(copy));
        QVERIFY(written.contains(QStringLiteral("現れる文字")));
        QVERIFY(
            written.contains(QLatin1String("<SCRIPT TYPE=text/vbscript>")) ||
            written.contains(QLatin1String("<SCRIPT type=text/vbscript>"), Qt::CaseInsensitive));

        QWebEngineView view;
        view.resize(300, 200);
        view.show();
        view.load(QUrl::fromLocalFile(copy));
        auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
        QTRY_VERIFY_WITH_TIMEOUT(red(view.grab().toImage().pixel(100, 50)), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(red(view.grab().toImage().pixel(3, 3)), 5000);
        // The browser found the page's encoding: the text reads as it was written.
        QCOMPARE(evalInPage(&view, QStringLiteral("document.getElementById('veld').textContent")),
                 QVariant(QStringLiteral("現れる文字")));
    }

    void msgBoxShowsTheEnginesDialogs()
    {
        QVERIFY(setBody(m_f.editor(),
                        QStringLiteral("<DIV id=out>-</DIV><DIV><SCRIPT TYPE =text/vbscript>\r\n"
                                       "Sub window_onload()\r\n"
                                       "  MsgBox \"ようこそ\"\r\n"
                                       "  answer = MsgBox(\"続けますか？\", vbYesNo)\r\n"
                                       "  document.all.OUT.innerText = answer\r\n"
                                       "End Sub\r\n</SCRIPT></DIV>")));
        const QString before = m_f.editor().DocumentHTML();
        auto texts = std::make_shared<QStringList>();
        answerPageDialogs(2, texts);
        m_f.editor().setBrowseMode(true);
        QTRY_COMPARE_WITH_TIMEOUT(texts->size(), 2, 10000);
        QCOMPARE(*texts, (QStringList{QStringLiteral("ようこそ"), QStringLiteral("続けますか？")}));
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(browseView(m_f.editor()),
                       QStringLiteral("document.getElementById('out').textContent")),
            QVariant(QStringLiteral("6")), 5000);
        m_f.editor().setBrowseMode(false);
        QVERIFY(waitForComplete(m_f.editor()));
        QCOMPARE(m_f.editor().DocumentHTML(), before);
    }

    void pageWithoutEffectsGetsNoRuntime()
    {
        QVERIFY(setBody(m_f.editor(), QStringLiteral("<P id=p>plain</P>")));
        m_f.editor().setBrowseMode(true);
        // The copy itself, not the view's first, empty document (complete at once).
        QTRY_COMPARE_WITH_TIMEOUT(evalInPage(browseView(m_f.editor()),
                                             QStringLiteral("document.readyState == 'complete' && "
                                                            "!!document.getElementById('p')")),
                                  QVariant(true), 10000);
        QCOMPARE(
            evalInPage(browseView(m_f.editor()), QStringLiteral("typeof window.__lumipageEffects")),
            QVariant(QStringLiteral("undefined")));
        m_f.editor().setBrowseMode(false);
        QVERIFY(waitForComplete(m_f.editor()));
    }
};

LUMIPAGE_TEST_MAIN(TestEffectsExport)
#include "tst_effectsexport.moc"
