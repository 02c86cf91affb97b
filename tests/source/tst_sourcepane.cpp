// The source pane beside the page, on the real editing surface: it shows the file's own
// bytes, follows the page by the changed stretch only, finds elements both ways, and what
// is typed in it becomes the page and the saved file as typed.
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/document.h"
#include "commands/commandactions.h"
#include "platform/markup/textcodec.h"
#include "source/sourcepane.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

namespace
{
const QByteArray kHandWritten = "<!doctype html>\r\n<html lang='en'>\r\n<head>\r\n"
                                "<title>Notes</title>\r\n<!-- kept as written -->\r\n"
                                "<style>\r\np { margin: 0 }\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                                "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                                "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n</style>\r\n"
                                "</head>\r\n<body>\r\n<p id='one'>First &ndash; line</p>\r\n"
                                "<table border=1><tr><td id='cell'>cell</td></tr></table>\r\n"
                                "<img src='pic.png' alt=''>\r\n<p id='two'>Second</p>\r\n"
                                "</body>\r\n</html>\r\n";
} // namespace

class TestSourcePane : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    QTemporaryDir m_dir;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    SourcePane &pane() { return *m_f.window->sourcePane(); }
    QWidget *surface() { return editor().findChild<QWebEngineView *>()->focusProxy(); }
    QString open(const QString &name, const QByteArray &bytes)
    {
        writeBytes(m_dir.filePath(name), bytes);
        return loadAndWait(editor(), m_dir.filePath(name)) ? m_dir.filePath(name) : QString();
    }
    void showPane(bool shown)
    {
        QAction *command = m_f.window->action(CommandId::SourcePane);
        if (command->isChecked() != shown)
            command->trigger();
    }
    // Clicks into the element `id` on the page, as a user does before typing, and puts
    // the caret at `offset` in it.
    void caretInto(const QString &id, int offset)
    {
        const QVariantMap box = editor().call("elementInfo", {id}).value.toMap();
        QVERIFY(clickPage(editor(), QPoint(qRound(box.value("left").toDouble()) + 2,
                                           qRound(box.value("top").toDouble()) + 2)));
        QVERIFY(selectIn(editor(), id, offset, offset));
    }
    QByteArray selectedInPane() { return pane().editor()->selectedText().toUtf8(); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init() { QVERIFY(m_f.reuse()); }
    void cleanupTestCase()
    {
        showPane(false);
        m_f.destroy();
    }

    void showsTheFilesOwnBytesAndFollowsAnEditOnly()
    {
        const QString path = open("hand.htm", kHandWritten);
        QVERIFY(!path.isEmpty());
        const QString loaded = editor().DocumentHTML();
        QVERIFY(!pane().isVisible());
        showPane(true);
        QVERIFY(pane().isVisible());
        QCOMPARE(m_f.window->findChild<QWidget *>("sourcePane"), &pane());
        QCOMPARE(pane().text(), kHandWritten);
        QVERIFY(pane().changedLines().isEmpty());

        // A word typed on the page: the pane follows with that line alone; the caret's
        // paragraph is brought into view once, and the pane's scroll position then stays.
        caretInto("two", 6);
        QTest::keyClicks(surface(), " more");
        QByteArray expected = kHandWritten;
        expected.replace("Second</p>", "Second more</p>");
        QTRY_COMPARE(pane().text(), expected);
        QCOMPARE(pane().changedLines(),
                 QList<int>{int(kHandWritten.left(kHandWritten.indexOf("Second")).count('\n'))});
        const int shown = pane().editor()->firstVisibleLine();
        QVERIFY(shown > 0);
        QTest::keyClicks(surface(), "!");
        expected.replace("Second more</p>", "Second more!</p>");
        QTRY_COMPARE(pane().text(), expected);
        QCOMPARE(pane().editor()->firstVisibleLine(), shown);
        // What the pane followed (from what the page sent with its changes) is what a save
        // writes.
        QVERIFY(editor().SaveDocument(path));
        QCOMPARE(readBytes(path), expected);

        // Undone on the page: the pane is the file again. Undone until the page is as
        // loaded, whatever the pane has followed meanwhile (a loaded machine follows late).
        for (int i = 0; i < 10 && editor().DocumentHTML() != loaded; ++i)
            QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QTRY_COMPARE(pane().text(), kHandWritten);

        // A Shift_JIS page shows decoded.
        const QByteArray sjis = readBytes(dataFile("kept/sjis.htm"));
        QVERIFY(!open("sjis.htm", sjis).isEmpty());
        QTRY_COMPARE(pane().text(), textcodec::decode(sjis, "Shift_JIS")->text.toUtf8());
    }

    void findsTheElementBothWays()
    {
        QVERIFY(!open("find.htm", kHandWritten).isEmpty());
        showPane(true);
        QTRY_COMPARE(pane().text(), kHandWritten);
        // The caret in a cell on the page marks the cell's start tag in the pane.
        QVERIFY(selectIn(editor(), "cell", 2, 2));
        QTRY_COMPARE(selectedInPane(), QByteArray("<td id='cell'>"));
        QVERIFY(!pane().editor()->hasFocus());

        // The caret put into the image's tag in the pane selects the image on the page.
        m_f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_f.window));
        pane().editor()->setFocus();
        QTRY_VERIFY(pane().editor()->hasFocus());
        const int at = kHandWritten.indexOf("src='pic.png'");
        int line = 0, index = 0;
        pane().editor()->lineIndexFromPosition(at, &line, &index);
        pane().editor()->setCursorPosition(line, index);
        QTRY_COMPARE(editor().call("selectedObjectId").value.toString(), QStringLiteral("IMG"));
        // And into the second paragraph's text: the caret goes there.
        pane().editor()->lineIndexFromPosition(kHandWritten.indexOf("Second"), &line, &index);
        pane().editor()->setCursorPosition(line, index);
        // 0 html, 1 head, 2 title, 3 style, 4 body, 5 p, 6 table, 7 tbody, 8 tr, 9 td, 10 img,
        // 11 p
        QTRY_COMPARE(editor().caretElement(), 11);
    }

    // Types `text` into the pane at the first `at` of its text.
    void typeInPane(const QByteArray &at, const QString &text)
    {
        m_f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_f.window));
        pane().editor()->setFocus();
        QTRY_VERIFY(pane().editor()->hasFocus());
        int line = 0, index = 0;
        pane().editor()->lineIndexFromPosition(int(pane().text().indexOf(at)), &line, &index);
        pane().editor()->setCursorPosition(line, index);
        QTest::keyClicks(pane().editor(), text);
    }

    void anEditInOneElementReplacesItAsOneUndoStepAndIsSavedAsTyped()
    {
        const QString path = open("typed.htm", kHandWritten);
        QVERIFY(!path.isEmpty());
        showPane(true);
        QTRY_COMPARE(pane().text(), kHandWritten);
        // A word typed before the paragraph's text, and its start tag retyped.
        typeInPane("Second", "<em class='x'>Very</em> ");
        typeInPane("><em", " lang=ja");
        // Applied when the pane loses the focus: that paragraph alone, the page not reloaded.
        QSignalSpy complete(&editor(), &EditingComponent::DocumentComplete);
        surface()->setFocus();
        QTRY_VERIFY(
            editor().DocumentHTML().contains("<P id=two lang=ja><EM class=x>Very</EM> Second</P>"));
        QCOMPARE(complete.count(), 0);
        QVERIFY(m_f.window->document().isModified());
        QByteArray typed = kHandWritten;
        typed.replace("'two'>Second", "'two' lang=ja><em class='x'>Very</em> Second");
        QCOMPARE(pane().text(), typed);
        // Saved as typed, byte for byte.
        QVERIFY(editor().SaveDocument(path));
        QCOMPARE(readBytes(path), typed);
        // One undo brings the paragraph back and the pane follows: the file's own bytes
        // again, saved as they were; a redo brings the typed ones back.
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QVERIFY(editor().DocumentHTML().contains("<P id=two>Second</P>"));
        QTRY_COMPARE(pane().text(), kHandWritten);
        QVERIFY(editor().SaveDocument(path));
        QCOMPARE(readBytes(path), kHandWritten);
        QVERIFY(editor().ExecCommand(decmd::REDO, CommandOption::Prompt));
        QTRY_COMPARE(pane().text(), typed);
        QVERIFY(editor().SaveDocument(path));
        QCOMPARE(readBytes(path), typed);
    }

    void markupReadOtherwiseIsAppliedAsReadAndUnderlined()
    {
        QVERIFY(!open("bad.htm", kHandWritten).isEmpty());
        showPane(true);
        QTRY_COMPARE(pane().text(), kHandWritten);
        // An unclosed tag and a stray end tag: the page reads them as the engine does (the
        // whole page), the pane keeps them as typed and underlines them.
        typeInPane("First", "<b>");
        typeInPane("\r\n<table", "</div>");
        QSignalSpy complete(&editor(), &EditingComponent::DocumentComplete);
        surface()->setFocus();
        QTRY_COMPARE(complete.count(), 1);
        QVERIFY(editor().DocumentHTML().contains(
            QStringLiteral("<P id=one><B>First \u2013 line</B></P>")));
        QByteArray typed = kHandWritten;
        typed.replace("'one'>First", "'one'><b>First")
            .replace("</p>\r\n<table", "</p></div>\r\n<table");
        QTRY_COMPARE(pane().text(), typed);
        QCOMPARE(pane().problemAt(typed.indexOf("<b>") + 1),
                 QStringLiteral("このタグは閉じられていません"));
        QCOMPARE(pane().problemAt(typed.indexOf("</div>") + 2),
                 QStringLiteral("対応する開始タグがありません"));
        QCOMPARE(pane().problemAt(typed.indexOf("<table")), QString());
        // A change in the head replaces the page too; the marks go with the next change.
        typeInPane("Notes", "My ");
        surface()->setFocus();
        QTRY_COMPARE(complete.count(), 2);
        QVERIFY(editor().DocumentHTML().contains("<TITLE>My Notes</TITLE>"));
        QCOMPARE(pane().problemAt(typed.indexOf("<b>") + 4), QString());
    }

    void hidingThePaneKeepsTheUndoHistoryAndTheChoiceIsRemembered()
    {
        QVERIFY(!open("undo.htm", kHandWritten).isEmpty());
        showPane(true);
        caretInto("one", 0);
        QTest::keyClicks(surface(), "Z");
        QTRY_VERIFY(editor().DocumentHTML().contains("ZFirst"));
        showPane(false);
        QVERIFY(!QSettings().value("sourcePane/shown").toBool());
        showPane(true);
        QVERIFY(QSettings().value("sourcePane/shown").toBool());
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QTRY_VERIFY(!editor().DocumentHTML().contains("ZFirst"));
        QTRY_COMPARE(pane().text(), kHandWritten);

        // A page opened and edited while the pane was hidden: shown, the pane has the edit
        // at once (only a page with nothing changed shows its file's text unread).
        showPane(false);
        QVERIFY(!open("hidden.htm", kHandWritten).isEmpty());
        caretInto("one", 0);
        QTest::keyClicks(surface(), "Y");
        QTRY_VERIFY(editor().DocumentHTML().contains("YFirst"));
        showPane(true);
        QVERIFY(pane().text().contains("YFirst"));
    }
};

LUMIPAGE_TEST_MAIN(TestSourcePane)
#include "tst_sourcepane.moc"
