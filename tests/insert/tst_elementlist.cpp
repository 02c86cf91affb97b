// The element list and its dialogs on the real main window and surface. (What the list
// asks of the page, cancelled dialogs and its placeholder: tst_controllers.)
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/document.h"
#include "app/mainwindow.h"
#include "insert/insertioncontroller.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace lumipage;
using namespace lumipage::test;

class TestElementList : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    MainWindow *&m_window = m_f.window;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    void setPage(const QString &body) { QVERIFY(setBody(editor(), body)); }
    QString body() { return bodyOf(editor()); }
    void choose(const QString &entry) { QVERIFY(test::choose(*m_window->elementList(), entry)); }

private slots:
    void init() { QVERIFY(m_f.reuse()); }
    void cleanupTestCase() { m_f.destroy(); }

    void fixedEntriesPasteAtTheCaret()
    {
        setPage("<P id=p>ab</P>");
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        choose("テキストボックス");
        choose("テキストボックス");
        QCOMPARE(body().count("<INPUT type=text name=textbox1>"), 2);
        QVERIFY(body().startsWith("<P id=p>a<INPUT"));
        choose("チェックボタン");
        choose("オプションボタン");
        choose("テキストエリア");
        QVERIFY(body().contains("<INPUT type=checkbox><INPUT type=radio><TEXTAREA></TEXTAREA>"));
    }

    void marqueeReplacesTheSelection()
    {
        setPage("<P id=p>replace me</P>");
        QVERIFY(editor().call("selectInElement", {"p", 0, 7}).ok);
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("Form9"));
            QCOMPARE(w->findChild<QLineEdit *>("Text1")->text(), QStringLiteral("Infinite"));
            w->findChild<QComboBox *>("Combo1")->setEditText("Scroll");
            w->findChild<QComboBox *>("Combo2")->setEditText("Left");
            w->findChild<QLineEdit *>("Text2")->setText("100");
            w->findChild<QLineEdit *>("Text3")->setText("6");
            w->findChild<QPushButton *>("Command1")->click();
        });
        choose("マーキー");
        QVERIFY2(
            body().contains(
                "<P id=p><MARQUEE behavior=Scroll direction=Left scrolldelay=100 scrollamount=6 "
                "loop=Infinite>文字を入力してください。</MARQUEE> me</P>"),
            qPrintable(body()));
    }

    void floatingFrameOkFollowsTheFile()
    {
        setPage("<P id=p>x</P>");
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        answerNextModal([](QWidget *w) {
            auto *ok = w->findChild<QPushButton *>("Command2");
            QVERIFY(!ok->isEnabled());
            w->findChild<QLineEdit *>("Text1")->setText("m");
            QVERIFY(ok->isEnabled());
            w->findChild<QLineEdit *>("Text1")->clear();
            QVERIFY(!ok->isEnabled());
            w->findChild<QLineEdit *>("Text1")->setText("menu.htm");
            w->findChild<QComboBox *>("Combo1")->setEditText("なし");
            ok->click();
        });
        choose("フローティングフレーム");
        QVERIFY2(body().contains("<IFRAME frameborder=0 src=menu.htm></IFRAME>"),
                 qPrintable(body()));
    }

    void buttonValidatesBeforeInserting()
    {
        setPage("<P id=p>x</P>");
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("Form10"));
            answerNextModal([w](QWidget *box) {
                QCOMPARE(qobject_cast<QMessageBox *>(box)->text(),
                         QStringLiteral("未入力個所があります！"));
                qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->click();
                whenModalAgain(w, [w](QWidget *) {
                    w->findChild<QComboBox *>("Combo1")->setEditText("onclick");
                    auto *action = w->findChild<QComboBox *>("Combo2");
                    action->setCurrentIndex(1); // ｼﾞｬﾝﾌﾟ
                    emit action->activated(1);
                    QVERIFY(w->findChild<QLineEdit *>("Text2")->isEnabled());
                    QVERIFY(!w->findChild<QPlainTextEdit *>("Text1")->isEnabled());
                    answerNextModal([w](QWidget *box2) {
                        QCOMPARE(qobject_cast<QMessageBox *>(box2)->text(),
                                 QStringLiteral("リンク先が不定です。"));
                        qobject_cast<QMessageBox *>(box2)->button(QMessageBox::Ok)->click();
                        whenModalAgain(w, [w](QWidget *) {
                            w->findChild<QLineEdit *>("Text2")->setText("next.htm");
                            w->findChild<QPushButton *>("Command2")->click();
                        });
                    });
                    w->findChild<QPushButton *>("Command2")->click();
                });
            });
            w->findChild<QPushButton *>("Command2")->click();
        });
        choose("ボタン");
        QVERIFY2(body().contains(
                     "<BUTTON title=Button language=VBSCRIPT "
                     "onclick=\"Window.location.href=&quot;next.htm&quot;\">タイトル</BUTTON>"),
                 qPrintable(body()));
    }

    void ruleAndSelectionBox()
    {
        setPage("<P id=p>x</P>");
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);
        answerNextModal([](QWidget *w) {
            auto *colour = w->findChild<QLineEdit *>("Text3");
            QCOMPARE(colour->text(), QStringLiteral("silver"));
            w->findChild<QPushButton *>("Command3")->click(); // the swatch empties the colour
            QVERIFY(colour->text().isEmpty());
            colour->setText("red");
            w->findChild<QComboBox *>("Combo1")->setEditText("なし");
            w->findChild<QPushButton *>("Command1")->click();
        });
        choose("水平罫線");
        QVERIFY2(body().contains("<HR width=100% size=2 noshade=\"\" color=red align=center>"),
                 qPrintable(body()));

        answerNextModal([](QWidget *w) {
            auto *name = w->findChild<QLineEdit *>("Text1");
            auto *add = w->findChild<QPushButton *>("Command1");
            QVERIFY(!add->isEnabled());
            for (const char *item : {"A", "B", "C"}) {
                name->setText(QString::fromUtf8(item));
                add->click();
            }
            QCOMPARE(w->findChild<QListWidget *>("List1")->count(), 3);
            QCOMPARE(
                w->findChild<QPlainTextEdit *>("Text2")->toPlainText(),
                QStringLiteral("<OPTION>A</OPTION>\n<OPTION>B</OPTION>\n<OPTION>C</OPTION>\n"));
            w->findChild<QPushButton *>("Command2")->click();
        });
        choose("選択ボックス");
        QVERIFY2(body().contains("<SELECT><OPTION>A</OPTION>"), qPrintable(body()));
    }

    void effectRequestPastesTheElementThenItsScript()
    {
        // A controller of its own, over a template folder of the test's making.
        QTemporaryDir folder;
        writeBytes(folder.filePath("shadow.vbs"), "Sub go()\nMsgBox \"[VELD ID]\"\nEnd Sub");
        QComboBox elements, effects;
        effects.setEditable(true);
        ScriptedCommonDialog common;
        InsertionController insertion(editor(), common, elements, effects, folder.path());
        insertion.fillLists();
        setPage("<P id=p>x</P>");
        QVERIFY(editor().call("selectInElement", {"p", 1, 1}).ok);

        // The entry opens its dialog (closed here: the request below stands for what it
        // would hand back).
        answerNextModal([](QWidget *dialog) { qobject_cast<QDialog *>(dialog)->reject(); });
        effects.setCurrentIndex(effects.findText("影付き文字"));
        emit effects.activated(effects.currentIndex());
        EffectRequest request;
        request.kind = EffectKind::Shadow;
        request.fragment = "<DIV ID=VELD42>ここに文字を入力</DIV>";
        request.effectId = "VELD42";
        insertion.runEffect(request);
        // The block follows the element (the page keeps line ends as LF).
        const QString html = body();
        const qsizetype element = html.indexOf("<DIV id=VELD42>ここに文字を入力</DIV>");
        const qsizetype script = html.indexOf("<DIV><SCRIPT type=text/vbscript>Sub go()\n"
                                              "MsgBox \"VELD42\"\nEnd Sub\n</SCRIPT></DIV>");
        QVERIFY2(element >= 0 && script > element, qPrintable(html));

        // The block is found again by the one-script test of the list.
        auto texts = answerBoxes({QMessageBox::Ok});
        emit effects.activated(effects.currentIndex());
        QCOMPARE(*texts, QStringList{"既にVbscriptコードが記述されています。"});
    }

    void effectScriptRefusedOrMissing()
    {
        QTemporaryDir folder;
        writeBytes(folder.filePath("glow.vbs"), "x = \"[VELD ID]\"");
        QComboBox elements, effects;
        ScriptedCommonDialog common;
        InsertionController insertion(editor(), common, elements, effects, folder.path());
        setPage("<P id=p>Sub window_onload() is here</P>");
        QVERIFY(editor().call("selectInElement", {"p", 0, 0}).ok);
        EffectRequest request;
        request.fragment = "<B>glow</B>";
        request.effectId = "VELD1";
        request.kind = EffectKind::Glow;
        auto texts = answerBoxes({QMessageBox::Ok});
        insertion.runEffect(request);
        QCOMPARE(*texts, QStringList{"スクリプトが記述されています。ｱｸｼｮﾝは追加できません！"});
        QVERIFY(body().contains("<B>glow</B>"));
        QVERIFY(!body().contains("SCRIPT"));

        // A missing template is named; the element stays, no block follows.
        request.kind = EffectKind::Wave;
        texts = answerBoxes({QMessageBox::Ok});
        request.fragment = "<I>wave</I>";
        insertion.runEffect(request);
        QCOMPARE(texts->size(), 1);
        QVERIFY(texts->value(0).contains("wave.vbs"));
        QVERIFY(body().contains("<I>wave</I>"));
        QVERIFY(!body().contains("SCRIPT"));

        // Without its action the element goes alone.
        request.withScript = false;
        request.fragment = "<U>plain</U>";
        request.kind = EffectKind::Glow;
        insertion.runEffect(request);
        QVERIFY(body().contains("<U>plain</U>"));
        QVERIFY(!body().contains("SCRIPT"));
    }

    void refusedPasteIsReported()
    {
        m_window->run(CommandId::Browse);
        answerNextModal([](QWidget *w) {
            QVERIFY(qobject_cast<QMessageBox *>(w));
            qobject_cast<QMessageBox *>(w)->button(QMessageBox::Ok)->click();
        });
        QVERIFY(!m_window->insertion().pasteFragment("<B>x</B>"));
        m_window->run(CommandId::Edit);
        QVERIFY(waitForComplete(editor()));
        QVERIFY(!editor().DocumentHTML().contains("<B>x</B>"));
    }
};

LUMIPAGE_TEST_MAIN(TestElementList)
#include "tst_elementlist.moc"
