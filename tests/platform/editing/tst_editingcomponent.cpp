// The editing component in the real engine: serialiser, paste, commands, statuses.
#include "support/testsupport.h"

#include "platform/editing/pagecaller.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestEditingComponent : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_owner;
    WebEngineEditingComponent *m_editor = nullptr;

    void select(const QString &id, int start, int end)
    {
        QVERIFY(selectIn(*m_editor, id, start, end));
    }
    QString body() { return bodyOf(*m_editor); }
    void setBody(const QString &body) { QVERIFY(test::setBody(*m_editor, body)); }

private slots:
    void initTestCase()
    {
        m_owner = shownEditor();
        m_editor = m_owner.get();
    }
    void cleanupTestCase() { m_owner.reset(); }

    // A wait begun from a signal during another wait takes the other's wake-up; once it
    // ends, the other must look again at once, not sleep on to its deadline (the window
    // stood still for a second after each element the source pane selected).
    void aWaitWithinAWaitLeavesTheOuterOneAwake()
    {
        PageCaller caller;
        bool outerDone = false, innerDone = false;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(10, [&] {
                outerDone = true;
                caller.wake();
                QTimer::singleShot(10, [&] {
                    innerDone = true;
                    caller.wake();
                });
            });
            QVERIFY(caller.wait([&] { return innerDone; }, QDeadlineTimer(5000)));
        });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(caller.wait([&] { return outerDone; }, QDeadlineTimer(5000)));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    }

    void newDocumentIsAnEmptyPage()
    {
        setBody(QStringLiteral("<P>old</P>"));
        m_editor->NewDocument();
        QVERIFY(waitForComplete(*m_editor));
        const QString html = m_editor->DocumentHTML();
        QVERIFY(html.startsWith(QLatin1String("<HTML><HEAD>")));
        QVERIFY(html.endsWith(QLatin1String("<BODY></BODY></HTML>")));
        QCOMPARE(m_editor->QueryStatus(decmd::UNDO), CommandStatus::NotAvailable);
    }

    void pageCanBeReadInsideDocumentComplete()
    {
        // The main window snapshots the page from its DocumentComplete handler.
        QString snapshot;
        QElapsedTimer timer;
        auto connection = connect(m_editor, &EditingComponent::DocumentComplete, this, [&] {
            timer.start();
            snapshot = m_editor->DocumentHTML();
        });
        const auto guard = qScopeGuard([&] { disconnect(connection); });
        for (int i = 0; i < 3; ++i) {
            setBody(QStringLiteral("<P>page %1</P>").arg(i));
            QVERIFY(snapshot.contains(QStringLiteral("page %1").arg(i)));
            QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        }
    }

    void serialiserRoundTripIsAFixedPoint_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("tables") << "tables.htm"
                                << QStringList{"<TABLE border=1 bordercolor=gray cellpadding=1 "
                                               "cellspacing=1 width=50%>",
                                               "<CAPTION>月別</CAPTION>",
                                               "<TD colspan=2 rowspan=1>合計 <B>12</B></TD>"};
        QTest::newRow("forms") << "forms.htm"
                               << QStringList{"<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.0 "
                                              "Transitional//EN\">",
                                              "value=\"a &quot;quoted&quot; value\"",
                                              "<INPUT type=checkbox checked=\"\">",
                                              "onclick=\"MsgBox &quot;こんにちは&quot;\"",
                                              "<TEXTAREA name=memo>first line &lt;kept&gt;"
                                              "</TEXTAREA>"};
        QTest::newRow("scripts") << "scripts.htm"
                                 << QStringList{
                                        "<!-- a comment with <b>markup</b> -->",
                                        "<SCRIPT type=text/vbscript>\nSub window_onload()\n"
                                        "  If 1 < 2 And \"a\" <> \"b\" Then",
                                        "if (a < b && c > d) { document.write(\"<b>x</b>\"); }",
                                        "td > b { color: red; } /* a < b && c */",
                                        "<MARQUEE behavior=scroll direction=left loop=3>",
                                        "style=\"filter: Shadow(Color=gray, Direction=135); "
                                        "width: 300px\""};
        QTest::newRow("entities") << "entities.htm"
                                  << QStringList{"A&nbsp;B&nbsp;&nbsp;C &lt;tag&gt; &amp; © あ",
                                                 "title=\"it's <fine> = ok\"",
                                                 "class=\"two words\"",
                                                 "<BR>",
                                                 "<PRE>  preformatted",
                                                 "href=page2.htm#part"};
        QTest::newRow("filters") << "filters.htm"
                                 << QStringList{"<BODY bgcolor=#FFFFCC text=#000080>",
                                                "filter:Glow(Color=yellow, Strength=5)",
                                                "<HR size=5 width=80% color=red noshade=\"\">",
                                                "face=\"ＭＳ Ｐゴシック\""};
        QTest::newRow("shift_jis")
            << "sjis.htm"
            << QStringList{"<TITLE>シフトJISのページ</TITLE>", "①②③ ～ 表示・ソース",
                           "content=\"text/html; charset=Shift_JIS\""};
        QTest::newRow("euc-jp") << "eucjp.htm" << QStringList{"漢字、ひらがな、カタカナ。"};
    }

    void serialiserRoundTripIsAFixedPoint()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, expected);
        QVERIFY(loadAndWait(*m_editor, dataFile(file)));
        const QString first = m_editor->DocumentHTML();
        for (const QString &piece : expected)
            QVERIFY2(first.contains(piece), qPrintable(piece + "\n--- in ---\n" + first));
        QVERIFY(!first.contains(QLatin1String("contenteditable")));
        QVERIFY(setHtmlAndWait(*m_editor, first));
        QCOMPARE(m_editor->DocumentHTML(), first);
    }

    void editingAidsAreNeverSaved()
    {
        setBody(QStringLiteral("<TABLE><TR><TD id=c>x</TD></TR></TABLE>"));
        m_editor->setEditingAid(EditingAid::TableOutlines, true);
        m_editor->setEditingAid(EditingAid::HiddenAndPlaced, true);
        const QString html = m_editor->DocumentHTML();
        QVERIFY(!html.contains(QLatin1String("outline")));
        QVERIFY(!html.contains(QLatin1String("<STYLE")));
    }

    void pasteAtCaretAndOverSelection()
    {
        setBody(QStringLiteral("<P id=p>abcdef</P>"));
        select(QStringLiteral("p"), 3, 3);
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<INPUT TYPE=\"text\" NAME=\"textbox1\">")));
        QCOMPARE(body(), QStringLiteral("<P id=p>abc<INPUT type=text name=textbox1>def</P>"));

        setBody(QStringLiteral("<P id=p>abcdef</P>"));
        select(QStringLiteral("p"), 1, 5);
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<B>X</B>")));
        QCOMPARE(body(), QStringLiteral("<P id=p>a<B>X</B>f</P>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), QStringLiteral("<P id=p>abcdef</P>"));
    }

    void pasteKeepsScriptBlocksWhole()
    {
        setBody(QStringLiteral("<P id=p>ab</P>"));
        select(QStringLiteral("p"), 2, 2);
        const QString script = QStringLiteral(
            "<DIV><SCRIPT TYPE =text/vbscript>\nSub window_onload()\nEnd Sub\n</SCRIPT></DIV>");
        QVERIFY(m_editor->pasteHTML(script));
        QVERIFY2(body().contains(QLatin1String(
                     "<SCRIPT type=text/vbscript>\nSub window_onload()\nEnd Sub\n</SCRIPT>")),
                 qPrintable(body()));

        // A block with attributes after text (an effect at the end of a line), which the
        // engine's own paste would merge into the line, arrives as given where the caret
        // stood, and one undo takes it back.
        setBody(QStringLiteral("<P id=p>ab</P>"));
        select(QStringLiteral("p"), 2, 2);
        QVERIFY(m_editor->pasteHTML(
            QStringLiteral("<DIV id=fx style=\"width: 300px\">影</DIV><SCRIPT>go()</SCRIPT>")));
        QCOMPARE(body(), QStringLiteral("<P id=p>ab<DIV id=fx style=\"width: 300px\">影</DIV>"
                                        "<SCRIPT>go()</SCRIPT></P>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), QStringLiteral("<P id=p>ab</P>"));
    }

    void bgColorIsWritten()
    {
        setBody(QStringLiteral("<P>x</P>"));
        QVERIFY(m_editor->setBgColor(QStringLiteral("lightblue")));
        QVERIFY(m_editor->DocumentHTML().contains(QLatin1String("<BODY bgcolor=lightblue>")));
    }

    void oneCallCommandsChangeThePageAndUndoRestoresIt_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        const QVariant none;
        QTest::newRow("bold") << decmd::BOLD << none << "<B>";
        QTest::newRow("italic") << decmd::ITALIC << none << "<I>";
        QTest::newRow("underline") << decmd::UNDERLINE << none << "<U>";
        QTest::newRow("delete") << decmd::DELETE_ << none << "<P id=p>a</P>";
        QTest::newRow("cut") << decmd::CUT << none << "<P id=p>a</P>";
        QTest::newRow("hyperlink")
            << decmd::HYPERLINK << QVariant(QStringLiteral("next.htm")) << "<A href=next.htm>";
        QTest::newRow("indent") << decmd::INDENT << none << "<BLOCKQUOTE";
        QTest::newRow("center") << decmd::JUSTIFYCENTER << none << "center";
        QTest::newRow("right") << decmd::JUSTIFYRIGHT << none << "right";
        QTest::newRow("ordered") << decmd::ORDERLIST << none << "<OL><LI>";
        QTest::newRow("unordered") << decmd::UNORDERLIST << none << "<UL><LI>";
        QTest::newRow("forecolor red") << decmd::SETFORECOLOR << QVariant(0x0000FF) << "#ff0000";
        QTest::newRow("backcolor blue")
            << decmd::SETBACKCOLOR << QVariant(0xFF0000) << "background-color: rgb(0, 0, 255)";
    }

    void oneCallCommandsChangeThePageAndUndoRestoresIt()
    {
        QFETCH(int, command);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        setBody(QStringLiteral("<P id=p>abcdef</P>"));
        select(QStringLiteral("p"), 1, 6);
        const QString before = body();
        QVERIFY(m_editor->ExecCommand(command, CommandOption::Prompt, value));
        QVERIFY2(body().contains(expected), qPrintable(body()));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), before);
        QVERIFY(m_editor->ExecCommand(decmd::REDO, CommandOption::Prompt));
        QVERIFY(body().contains(expected));
    }

    void formattingCommandsAreUndone()
    {
        setBody(QStringLiteral("<P id=p><B>abc</B><A href=x.htm>link</A></P>"));
        select(QStringLiteral("p"), 0, 7);
        QVERIFY(m_editor->ExecCommand(decmd::UNLINK, CommandOption::Prompt));
        QVERIFY(!body().contains(QLatin1String("<A ")));
        QVERIFY(m_editor->ExecCommand(decmd::REMOVEFORMAT, CommandOption::Default));
        QCOMPARE(body(), QStringLiteral("<P id=p>abclink</P>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), QStringLiteral("<P id=p><B>abc</B><A href=x.htm>link</A></P>"));
    }

    void selectAllCopyAndPaste()
    {
        setBody(QStringLiteral("<P id=p>abc</P><P id=q>xyz</P>"));
        select(QStringLiteral("p"), 0, 3);
        QVERIFY(m_editor->ExecCommand(decmd::COPY, CommandOption::Prompt));
        select(QStringLiteral("q"), 3, 3);
        QVERIFY(m_editor->ExecCommand(decmd::PASTE, CommandOption::Prompt));
        QVERIFY2(body().contains(QLatin1String("xyzabc")), qPrintable(body()));
        QVERIFY(m_editor->ExecCommand(decmd::SELECTALL, CommandOption::Prompt));
        QVERIFY(m_editor->ExecCommand(decmd::DELETE_, CommandOption::Prompt));
        QVERIFY(!body().contains(QLatin1String("abc")));
    }

    void refusedCommandsChangeNothing()
    {
        setBody(QStringLiteral("<P id=p>abc</P>"));
        select(QStringLiteral("p"), 1, 1);
        const QString before = m_editor->DocumentHTML();
        QVERIFY(!m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt)); // nothing to undo
        QVERIFY(!m_editor->ExecCommand(decmd::HYPERLINK, CommandOption::DontPrompt, QString()));
        QVERIFY(!m_editor->ExecCommand(4999, CommandOption::Default));
        QCOMPARE(m_editor->DocumentHTML(), before);
    }

    void statusesFollowTheSelection()
    {
        setBody(QStringLiteral("<P id=p>plain <B id=b>bold</B></P><UL><LI id=li>item</LI></UL>"));
        QCOMPARE(m_editor->QueryStatus(decmd::UNDO), CommandStatus::NotAvailable);
        select(QStringLiteral("p"), 1, 1);
        QCOMPARE(m_editor->QueryStatus(decmd::BOLD), CommandStatus::Enabled);
        // Copy and cut want a range; delete works from a caret too.
        QCOMPARE(m_editor->QueryStatus(decmd::COPY), CommandStatus::NotAvailable);
        QCOMPARE(m_editor->QueryStatus(decmd::CUT), CommandStatus::NotAvailable);
        QCOMPARE(m_editor->QueryStatus(decmd::DELETE_), CommandStatus::Enabled);
        QCOMPARE(m_editor->QueryStatus(decmd::UNORDERLIST), CommandStatus::Enabled);
        select(QStringLiteral("b"), 2, 2);
        QCOMPARE(m_editor->QueryStatus(decmd::BOLD), CommandStatus::Latched);
        select(QStringLiteral("li"), 2, 2);
        QCOMPARE(m_editor->QueryStatus(decmd::UNORDERLIST), CommandStatus::Latched);
        QCOMPARE(m_editor->QueryStatus(decmd::ORDERLIST), CommandStatus::Enabled);
        // Every command number the program asks about answers.
        for (int command : kQueriedCommands)
            QVERIFY(QList<int>({1, 3, 7}).contains(int(m_editor->QueryStatus(command))));
        select(QStringLiteral("p"), 0, 3);
        QCOMPARE(m_editor->QueryStatus(decmd::COPY), CommandStatus::Enabled);
        QCOMPARE(m_editor->QueryStatus(decmd::CUT), CommandStatus::Enabled);
        QVERIFY(m_editor->ExecCommand(decmd::BOLD, CommandOption::Prompt));
        QVERIFY(waitForDisplayChanged(*m_editor));
        QCOMPARE(m_editor->QueryStatus(decmd::UNDO), CommandStatus::Enabled);
    }

    void displayChangedIsCoalesced()
    {
        // A paste changes content and selection several times in one go: one event.
        setBody(QStringLiteral("<P id=p>abcdef</P>"));
        select(QStringLiteral("p"), 1, 4);
        QSignalSpy spy(m_editor, &EditingComponent::DisplayChanged);
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<B>1</B><I>2</I><U>3</U>")));
        QVERIFY(spy.wait(3000));
        QVERIFY(!spy.wait(300)); // and no second one follows

        // Caret moves are each reported, also when they leave every status as it was.
        QWebEnginePage *page = m_editor->findChild<QWebEngineView *>()->page();
        setBody(QStringLiteral("<P id=p>abcdef</P>"));
        select(QStringLiteral("p"), 0, 0);
        spy.clear();
        for (int offset : {1, 2, 3}) {
            page->runJavaScript(
                QStringLiteral("getSelection().collapse(document.getElementById('p')"
                               ".firstChild, %1)")
                    .arg(offset),
                QWebEngineScript::ApplicationWorld);
            QTRY_COMPARE(spy.count(), offset);
        }
    }
};

LUMIPAGE_TEST_MAIN(TestEditingComponent)
#include "tst_editingcomponent.moc"
