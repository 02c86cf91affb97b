// The effects list on the real main window and surface: each entry's dialog, its
// element and script block in the page, and the one-script rules.
#include "support/dialogdriver.h"
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/mainwindow.h"
#include "insert/insertioncontroller.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace lumipage;
using namespace lumipage::test;

namespace
{

using Fill = std::function<void(DialogDriver &)>;

// Answers the next dialog with `fill`, driving it by objectName; a dialog still open
// afterwards is closed, so the test fails instead of waiting.
void answerDialog(Fill fill)
{
    answerNextModal([fill](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        QVERIFY(dialog);
        DialogDriver driver(*dialog);
        fill(driver);
    });
}

const QString kScriptStart = QStringLiteral("<DIV><SCRIPT type=text/vbscript>");
} // namespace

class TestEffectsList : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    MainWindow *&m_window = m_f.window;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    QString body() { return bodyOf(editor()); }
    void choose(const QString &entry) { QVERIFY(test::choose(*m_window->effectsList(), entry)); }

private slots:
    void init() { QVERIFY(m_f.reuse()); }
    void cleanupTestCase() { m_f.destroy(); }

    void eachEntryPastesItsElementAndScript_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("form");
        QTest::addColumn<Fill>("fill");
        QTest::addColumn<QString>("element"); // "%1": the id the dialog drew
        QTest::addColumn<QString>("inScript");
        QTest::addColumn<QString>("idBox"); // where the dialog shows the id it drew
        QTest::newRow("text reveal")
            << "RevealTransition(Text)"
            << "Form6" << Fill([](DialogDriver &d) { d.accept("Command2"); })
            << "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=0,duration=3);"
               "text-align:center;background-color:WHITE;visibility:hidden\">文字を入力</DIV>"
            << "document.all(\"veld\")"
            << "";
        QTest::newRow("image reveal")
            << "RevealTransition(Image)"
            << "Form7" << Fill([](DialogDriver &d) {
                   d.fill("Text1", "a.gif");
                   d.fill("Combo2", "3");
                   d.accept("Command2");
               })
            << "<IMG id=veldimage src=a.gif alt=\"\" "
               "style=\"filter:revealtrans(transition=3,duration=3);visibility:hidden\">"
            << "document.all(\"veldimage\")"
            << "";
        QTest::newRow("blend") << "BlendFilter"
                               << "Form21" << Fill([](DialogDriver &d) {
                                      d.fill("Text1", "a.gif");
                                      d.fill("Text2", "b \"x\".gif");
                                      d.accept("Command3");
                                  })
                               << "<IMG id=%1 src=a.gif style=\"Filter:blendtrans(duration=3)\">"
                               << "NextPicture = \"b \"\"x\"\".gif\""
                               << "Text3";
        QTest::newRow("shadow")
            << "影付き文字"
            << "Form13" << Fill([](DialogDriver &d) {
                   d.fill("Text1", "red");
                   d.fill("Combo1", "あり");
                   d.accept("Command3");
               })
            << "<DIV id=VELD%1 style=\"width:100%;Filter:Shadow(Color=red,Direction=10)\">"
               "ここに文字を入力</DIV>"
            << "ShadowBlockId = \"VELD%1\""
            << "Text3";
        QTest::newRow("wave") << "波文字"
                              << "Form14" << Fill([](DialogDriver &d) {
                                     d.fill("Combo1", "あり");
                                     d.accept("Command1");
                                 })
                              << "<DIV id=VELD%1 style=\"width:100%;Filter:Wave(strength=5,"
                                 "freq=10,lightstrength=20)\">ここに文字を入力</DIV>"
                              << "WaveBlockId = \"VELD%1\""
                              << "Text4";
        QTest::newRow("glow") << "燃える文字"
                              << "Form15" << Fill([](DialogDriver &d) {
                                     d.fill("Combo1", "あり");
                                     d.accept("Command1");
                                 })
                              << "<DIV id=VELD%1 style=\"width:100%;Filter:Glow(strength=5,"
                                 "Color=RED)\">ここに文字を入力</DIV>"
                              << "GlowBlockId = \"VELD%1\""
                              << "Text3";
        QTest::newRow("alpha") << "消える文字"
                               << "Form16" << Fill([](DialogDriver &d) {
                                      d.fill("Combo2", "あり");
                                      d.accept("Command1");
                                  })
                               << "<DIV id=VELD%1 style=\"width:100%;Filter:Alpha(opacity=90,"
                                  "style=2)\">ここに文字を入力</DIV>"
                               << "AlphaBlockId = \"VELD%1\""
                               << "Text2";
        QTest::newRow("mouse-over colour")
            << "ﾏｳｽで色が変わる文字"
            << "Form17" << Fill([](DialogDriver &d) {
                   d.fill("Text1", "blue");
                   d.fill("Text2", "red");
                   d.fill("Text3", "Home");
                   d.fill("Text4", "http://example.com/");
                   d.press("Command3");
                   d.accept("Command1");
               })
            << "<BUTTON id=VELD0 onmouseover=go_in(0) onmouseout=go_out(0) onclick=go_link(0) "
               "style=\"font-family:ＭＳ Ｐ明朝;font-size:9pt;Color:blue;\">Home</BUTTON>"
            << "LinkTarget = \"http://example.com/\""
            << "";
    }
    void eachEntryPastesItsElementAndScript()
    {
        QFETCH(QString, entry);
        QFETCH(QString, form);
        QFETCH(Fill, fill);
        QFETCH(QString, element);
        QFETCH(QString, inScript);
        QFETCH(QString, idBox);
        QVERIFY(m_f.setPage("<P id=p>ab</P>"));
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        const QString before = body();
        QString id;
        answerNextModal([&](QWidget *widget) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            QVERIFY(dialog);
            DialogDriver d(*dialog);
            QCOMPARE(dialog->objectName(), form);
            if (!idBox.isEmpty())
                id = d.text(idBox);
            fill(d);
        });
        choose(entry);
        const QString page = body();
        const QString expected = element.contains("%1") ? element.arg(id) : element;
        const qsizetype at = page.indexOf(expected);
        QVERIFY2(at >= 0, qPrintable(page));
        // The script block follows the element: the engine may close the paragraph
        // around the caret first, but no other element comes between.
        const qsizetype script = page.indexOf(kScriptStart);
        const qsizetype end = at >= 0 ? at + expected.size() : script;
        QVERIFY2(script >= end && end > 0, qPrintable(page));
        QVERIFY2(!page.mid(end, script - end).contains(QRegularExpression("<[A-Za-z]")),
                 qPrintable(page));
        QVERIFY2(page.contains(inScript.contains("%1") ? inScript.arg(id) : inScript),
                 qPrintable(page));
        QVERIFY(page.contains("</SCRIPT></DIV>"));

        // One script per page: the list refuses the next effect.
        const auto texts = answerBoxes({QMessageBox::Ok});
        choose("影付き文字");
        QCOMPARE(*texts, QStringList{"既にVbscriptコードが記述されています。"});
        QCOMPARE(body(), page);

        // The element and its script are one step to undo and one to redo.
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QTRY_COMPARE(body(), before);
        QVERIFY(editor().ExecCommand(decmd::REDO, CommandOption::Prompt));
        QTRY_COMPARE(body(), page);
    }

    void filterTextWithoutActionPastesNoScript()
    {
        QVERIFY(m_f.setPage("<P id=p>ab</P>"));
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        answerDialog([](DialogDriver &d) { d.accept("Command1"); });
        choose("波文字");
        QVERIFY(body().contains("Filter:Wave(strength=5,freq=10,lightstrength=20)"));
        QVERIFY(!body().contains("<SCRIPT"));
    }

    void windowOnloadInThePageKeepsTheElementOnly()
    {
        QVERIFY(m_f.setPage("<P id=p>call window_onload() first</P>"));
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        const auto texts = std::make_shared<QStringList>();
        answerNextModal([texts](QWidget *widget) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            QVERIFY(dialog);
            DialogDriver d(*dialog);
            d.fill("Text1", "red");
            d.fill("Combo1", "あり");
            answerNextModal(
                [texts](QWidget *box) {
                    *texts << qobject_cast<QMessageBox *>(box)->text();
                    clickMessageBoxButton(box, QMessageBox::Ok);
                },
                dialog);
            QVERIFY(d.accept("Command3"));
        });
        choose("影付き文字");
        QTRY_COMPARE(*texts, QStringList{"スクリプトが記述されています。ｱｸｼｮﾝは追加できません！"});
        QVERIFY(body().contains("Filter:Shadow(Color=red,Direction=10)"));
        QVERIFY(!body().contains("<SCRIPT"));
    }

    void cancelPastesNothing()
    {
        QVERIFY(m_f.setPage("<P id=p>ab</P>"));
        answerDialog([](DialogDriver &d) { d.press("Command4"); });
        choose("BlendFilter");
        QCOMPARE(body(), QStringLiteral("<P id=p>ab</P>"));
    }

    void readMeOpensTheInformationFile()
    {
        choose("初めにお読み下さい。");
        QCOMPARE(m_f.shell->opened.size(), 1);
        QVERIFY(m_f.shell->opened.first().endsWith("attension.txt"));
    }

    void savedEffectStillBlocksAndItsScriptSurvives()
    {
        QTemporaryDir folder;
        QVERIFY(m_f.setPage("<P id=p>ab</P>"));
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        answerDialog([](DialogDriver &d) {
            d.fill("Combo1", "あり");
            d.accept("Command1");
        });
        choose("燃える文字");
        const QString first = folder.filePath("first.htm");
        const QString second = folder.filePath("second.htm");
        QVERIFY(editor().SaveDocument(first));
        QVERIFY(loadAndWait(editor(), first));
        const auto texts = answerBoxes({QMessageBox::Ok});
        choose("波文字");
        QCOMPARE(*texts, QStringList{"既にVbscriptコードが記述されています。"});
        QVERIFY(editor().SaveDocument(second));
        const QByteArray before = readBytes(first), after = readBytes(second);
        const auto block = [](const QByteArray &page) {
            const qsizetype from = page.indexOf("<SCRIPT"), to = page.indexOf("</SCRIPT>");
            return from >= 0 && to > from ? page.mid(from, to - from) : QByteArray();
        };
        QVERIFY(!block(before).isEmpty());
        QVERIFY(block(before).contains("GlowBlockId = \"VELD"));
        QCOMPARE(block(after), block(before));
    }

    void imageRevealKeepsThePageAroundTheCaret()
    {
        QVERIFY(m_f.setPage("<DIV id=box><P id=p>ab</P></DIV><P id=c>after</P>"));
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        answerDialog([](DialogDriver &d) {
            d.fill("Text1", "a.gif");
            d.accept("Command2");
        });
        choose("RevealTransition(Image)");
        const QString page = body();
        QVERIFY2(page.startsWith("<DIV id=box>"), qPrintable(page));
        QVERIFY2(page.endsWith("</DIV><P id=c>after</P>"), qPrintable(page));
        QCOMPARE(page.count("</DIV>"), page.count("<DIV"));
    }
};

LUMIPAGE_TEST_MAIN(TestEffectsList)
#include "tst_effectslist.moc"
