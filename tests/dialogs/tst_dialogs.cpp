// The main window's files and dialogs end to end on the real surface: open, save,
// preview, table, link, background image, source window and replace.
#include "support/dialogdriver.h"
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/document.h"
#include "app/mainwindow.h"
#include "insert/insertioncontroller.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace lumipage;
using namespace lumipage::test;

class TestDialogs : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    MainWindow *&m_window = m_f.window;
    ScriptedCommonDialog *&m_dialog = m_f.dialog;
    RecordingShell *&m_shell = m_f.shell;
    QTemporaryDir m_dir;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    void setPage(const QString &body) { QVERIFY(m_f.setPage(body)); }

private slots:
    // One window for the program: each test starts on an empty, unchanged page.
    void init() { QVERIFY(m_f.reuse()); }
    void cleanupTestCase() { m_f.destroy(); }

    void openAfterChanges()
    {
        writeBytes(m_dir.filePath("a.htm"), "<HTML><BODY><P>file a</P></BODY></HTML>");
        // Unchanged page: straight to the open dialog.
        m_dialog->files.enqueue(m_dir.filePath("a.htm"));
        m_window->run(CommandId::OpenFile);
        QVERIFY(waitForComplete(editor()));
        QTRY_VERIFY(m_window->document().snapshot().contains("file a"));

        // Changed, answered OK: the save dialog (cancelled here) and no open dialog.
        QVERIFY(editor().pasteHTML("<B>new</B>"));
        auto texts = answerBoxes({QMessageBox::Ok});
        const int shown = m_dialog->shown;
        m_window->run(CommandId::OpenFile);
        QCOMPARE(texts->value(0), QStringLiteral("編集中のファイルを保存しますか？"));
        QCOMPARE(m_dialog->shown, shown + 1);
        // The save did not happen, so the page still counts as changed and is asked about.
        texts = answerBoxes({QMessageBox::Ok});
        m_window->run(CommandId::OpenFile);
        QCOMPARE(texts->size(), 1);
        QCOMPARE(m_dialog->shown, shown + 2);
        QVERIFY(editor().DocumentHTML().contains("<B>new</B>"));

        // Changed, answered Cancel, open dialog cancelled: the page keeps its changes.
        QVERIFY(editor().pasteHTML("<I>more</I>"));
        texts = answerBoxes({QMessageBox::Cancel});
        m_window->run(CommandId::OpenFile);
        QCOMPARE(texts->size(), 1);
        QVERIFY(editor().DocumentHTML().contains("<I>more</I>"));

        // Saved: the page counts as unchanged, and Open goes straight to its dialog.
        m_dialog->files.enqueue(m_dir.filePath("saved.htm"));
        texts = answerBoxes({QMessageBox::Ok});
        m_window->run(CommandId::SaveFile);
        QCOMPARE(texts->value(0), QStringLiteral("保存しました。"));
        QVERIFY(!m_window->document().isModified());
        texts = answerBoxes({QMessageBox::Cancel}); // would answer a question, if one came
        m_window->run(CommandId::OpenFile);
        QVERIFY(texts->isEmpty());
        QCOMPARE(m_dialog->shown, shown + 5);
    }

    void unreadableFileIsReportedAndThePageStays()
    {
        setPage("<P>mine</P>");
        writeBytes(m_dir.filePath("bin.htm"), QByteArray("\0\1\2\3", 4));
        m_dialog->files.enqueue(m_dir.filePath("bin.htm"));
        auto texts = answerBoxes({QMessageBox::Ok});
        m_window->run(CommandId::OpenFile);
        QVERIFY(texts->value(0).contains("bin.htm"));
        QVERIFY(editor().DocumentHTML().contains("<P>mine</P>"));
    }

    void saveAsksBeforeOverwriting()
    {
        setPage("<P>saved</P>");
        const QString path = m_dir.filePath("out.htm");
        QFile::remove(path);
        m_dialog->files.enqueue(path);
        auto texts = answerBoxes({QMessageBox::Ok});
        m_window->run(CommandId::SaveFile);
        QCOMPARE(*texts, QStringList{"保存しました。"});
        QVERIFY(readBytes(path).contains("<P>saved</P>"));

        setPage("<P>second</P>");
        m_dialog->files.enqueue(path);
        texts = answerBoxes({QMessageBox::Cancel});
        m_window->run(CommandId::SaveFile);
        QCOMPARE(*texts, QStringList{"同名ファイルがあります、上書きしますか？"});
        QVERIFY(readBytes(path).contains("<P>saved</P>"));

        m_dialog->files.enqueue(path);
        texts = answerBoxes({QMessageBox::Ok, QMessageBox::Ok});
        m_window->run(CommandId::SaveFile);
        QCOMPARE(*texts,
                 QStringList({"同名ファイルがあります、上書きしますか？", "上書き保存しました。"}));
        QVERIFY(readBytes(path).contains("<P>second</P>"));
    }

    void newAsksAndYesSavesWithoutEmptying()
    {
        setPage("<P>keep me</P>");
        auto texts = answerBoxes({QMessageBox::Yes});
        m_window->run(CommandId::NewDocument); // Yes: save (dialog cancelled), page stays
        QCOMPARE(texts->value(0),
                 QStringLiteral("新規作成を実行します。ファイルの保存をしますか？"));
        QVERIFY(editor().DocumentHTML().contains("keep me"));
        texts = answerBoxes({QMessageBox::No});
        m_window->run(CommandId::NewDocument);
        QVERIFY(waitForComplete(editor()));
        QVERIFY(!editor().DocumentHTML().contains("keep me"));
    }

    void previewAndInformationFilesGoToTheShell()
    {
        setPage("<P>preview</P>");
        m_window->run(CommandId::BrowserPreview);
        QCOMPARE(m_shell->opened.size(), 1);
        QVERIFY(m_shell->opened.first().endsWith("VeldTemp.htm"));
        QVERIFY(readBytes(m_shell->opened.first()).contains("<P>preview</P>"));
        m_window->run(CommandId::Help);
        m_window->findChild<QPushButton *>("Command1")->click();
        m_window->menuItem("veldscript")->trigger();
        QVERIFY(m_shell->opened.at(1).endsWith("/lpg.txt"));
        QVERIFY(m_shell->opened.at(2).endsWith("/important.txt"));
        QVERIFY(m_shell->opened.at(3).endsWith("/whyvbscript.txt"));
    }

    void tableDialogInsertsOrExplains()
    {
        setPage("<P id=p>x</P>");
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("Form2"));
            DialogDriver d(*qobject_cast<QDialog *>(w));
            QCOMPARE(
                d.text("Text3"),
                QStringLiteral("border=1 bordercolor=gray cellPadding=1 cellSpacing=1 width=5%"));
            QCOMPARE(d.text("Text4"), QStringLiteral("bgcolor=white align=left"));
            d.fill("Text1", "x");
            d.fill("Text2", "2");
            // A refused count: the reason is shown and the dialog stays with the fields as typed.
            auto texts = answerBoxes({QMessageBox::Ok});
            d.press("Command1");
            QVERIFY(texts->value(0).contains("行数"));
            QVERIFY(w->isVisible());
            QCOMPARE(d.text("Text1"), QStringLiteral("x"));
            d.fill("Text1", "3");
            d.fill("Text5", "表題 <1>");
            QVERIFY(d.accept("Command1"));
        });
        const QString before = editor().DocumentHTML();
        m_window->run(CommandId::InsertTable);
        const QString html = editor().DocumentHTML();
        QVERIFY2(
            html.contains("<TABLE border=1 bordercolor=gray cellpadding=1 cellspacing=1 width=5%>"
                          "<CAPTION>表題 &lt;1&gt;</CAPTION>"),
            qPrintable(html));
        QCOMPARE(html.count("<TD bgcolor=white align=left>"), 6);
        QCOMPARE(html.count("<TR>"), 3);
        QVERIFY(before != html);
        // The whole table is one undo step.
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(editor().DocumentHTML(), before);
    }

    void linkDialogLinksTheSelection()
    {
        setPage("<P id=p>link me</P>");
        QVERIFY(editor().call("selectInElement", {"p", 0, 4}).ok);
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("Form4"));
            DialogDriver d(*qobject_cast<QDialog *>(w));
            QCOMPARE(d.text("Text1"), QStringLiteral("http://"));
            d.fill("Text1", "next.htm");
            QVERIFY(d.accept("Command2"));
        });
        m_window->run(CommandId::SetLink);
        QVERIFY(editor().DocumentHTML().contains("<A href=next.htm>link</A> me"));
        // The redisplay keeps the history: the link can be undone.
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QVERIFY(editor().DocumentHTML().contains("<P id=p>link me</P>"));
    }

    void browseButtonsFillTheirFieldAndKeepItOnCancel()
    {
        setPage("<P id=p>link me</P>");
        QVERIFY(editor().call("selectInElement", {"p", 0, 4}).ok);
        m_dialog->files.enqueue("/site/page two.htm");
        answerNextModal([this](QWidget *w) {
            DialogDriver d(*qobject_cast<QDialog *>(w));
            d.press("Command1");
            QCOMPARE(d.text("Text1"), QStringLiteral("/site/page two.htm"));
            QCOMPARE(m_dialog->filter,
                     QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html"));
            d.press("Command1"); // cancelled: the text stays
            QCOMPARE(d.text("Text1"), QStringLiteral("/site/page two.htm"));
            QVERIFY(d.accept("Command2"));
        });
        m_window->run(CommandId::SetLink);
        QVERIFY(editor().DocumentHTML().contains("<A href=\"/site/page two.htm\">link</A>"));
    }

    void backgroundImageSetAndRemoved()
    {
        setPage("<P>bg</P>");
        const QString before = editor().DocumentHTML();
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("Form19"));
            DialogDriver d(*qobject_cast<QDialog *>(w));
            QVERIFY(!d.enabled("Command2"));
            QVERIFY(!d.enabled("Combo1"));
            d.fill("Text1", "/pics/a.gif");
            d.fill("Combo1", "固定する");
            QVERIFY(d.accept("Command2"));
        });
        m_window->run(CommandId::BackgroundImage);
        QCOMPARE(m_window->insertion().shared().background_attr,
                 QStringLiteral("<BODY background=/pics/a.gif bgProperties=fixed"));
        const QString with = editor().DocumentHTML();
        QVERIFY2(with.contains("<BODY background=/pics/a.gif bgproperties=fixed>"),
                 qPrintable(with));
        QTRY_VERIFY(m_window->toolbarButton("del_imageback")->isEnabled());
        QTRY_VERIFY(!m_window->toolbarButton("image_back")->isEnabled());
        QVERIFY(m_window->menuItem("deletehaikei")->isEnabled());
        QVERIFY(!m_window->menuItem("haikeisettei")->isEnabled());
        // Setting the picture is one undo step, and the history before it stays.
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(editor().DocumentHTML(), before);
        QVERIFY(editor().ExecCommand(decmd::REDO, CommandOption::Prompt));
        QCOMPARE(editor().DocumentHTML(), with);

        m_window->run(CommandId::RemoveBackground);
        QVERIFY(editor().DocumentHTML().contains("<BODY><P>bg</P>"));
        QTRY_VERIFY(!m_window->toolbarButton("del_imageback")->isEnabled());
        QVERIFY(m_window->toolbarButton("image_back")->isEnabled());
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(editor().DocumentHTML(), with);
    }

    void aPictureNamedWithSpacesStaysWhole()
    {
        setPage("<P>bg</P>");
        answerNextModal([](QWidget *w) {
            DialogDriver d(*qobject_cast<QDialog *>(w));
            d.fill("Text1", "/my pics/a b.gif");
            QVERIFY(d.accept("Command2"));
        });
        m_window->run(CommandId::BackgroundImage);
        QVERIFY(editor().DocumentHTML().contains(
            "<BODY background=\"/my pics/a b.gif\" bgproperties=none>"));
    }

    void sourceWindowWritesBackOnlyWhenAsked()
    {
        setPage("<TABLE><TR><TD>a</TD><TD>td</TD></TR></TABLE>");
        const QString before = editor().DocumentHTML();
        // Unchanged: no question.
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("Form3"));
            qobject_cast<QDialog *>(w)->close();
        });
        m_window->run(CommandId::ShowSource);
        QCOMPARE(editor().DocumentHTML(), before);

        // Replace TD by TH everywhere, then Cancel the update.
        const auto replaceAndClose = [](QMessageBox::StandardButton update) {
            answerNextModal([update](QWidget *w) {
                auto *text = w->findChild<QPlainTextEdit *>("Text1");
                QTextCursor cursor = text->document()->find("TD");
                text->setTextCursor(cursor);
                answerNextModal([w, update](QWidget *replace) {
                    QCOMPARE(replace->objectName(), QStringLiteral("Form18"));
                    QCOMPARE(replace->findChild<QLineEdit *>("Text1")->text(),
                             QStringLiteral("TD"));
                    replace->findChild<QLineEdit *>("Text2")->setText("TH");
                    replace->findChild<QPushButton *>("Command1")->click();
                    whenModalAgain(w, [w, update](QWidget *) {
                        QVERIFY(w->findChild<QPlainTextEdit *>("Text1")->toPlainText().contains(
                            "<TH>td</TH>"));
                        answerNextModal([update](QWidget *box) {
                            QCOMPARE(qobject_cast<QMessageBox *>(box)->text(),
                                     QStringLiteral("内容が更新されています。更新しますか？"));
                            qobject_cast<QMessageBox *>(box)->button(update)->click();
                        });
                        qobject_cast<QDialog *>(w)->close();
                    });
                });
                w->findChild<QPushButton *>("Command1")->click();
            });
        };
        replaceAndClose(QMessageBox::Cancel);
        m_window->run(CommandId::ShowSource);
        QCOMPARE(editor().DocumentHTML(), before);

        replaceAndClose(QMessageBox::Ok);
        m_window->run(CommandId::ShowSource);
        QVERIFY(waitForComplete(editor()));
        QVERIFY(editor().DocumentHTML().contains("<TH>a</TH><TH>td</TH>"));
    }

    void sourceWindowSearchNeedsASelection()
    {
        setPage("<P>x</P>");
        answerNextModal([](QWidget *w) {
            answerNextModal([w](QWidget *box) {
                QCOMPARE(qobject_cast<QMessageBox *>(box)->text(),
                         QStringLiteral("置換する文字が選択されていません！"));
                qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->click();
                whenModalAgain(w, [w](QWidget *) { qobject_cast<QDialog *>(w)->close(); });
            });
            w->findChild<QPushButton *>("Command1")->click();
        });
        m_window->run(CommandId::ShowSource);
    }
};

LUMIPAGE_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
