// The controllers between the window and the page, on a page view without an engine: what
// each asks of the page and when, and what it makes of the answers. The engine's own
// behaviour on real pages is tested with the engine (tst_mainwindow, tst_sourcepane,
// tst_pagecheck, tst_elementlist).
#include "support/fakepageview.h"
#include "support/scripteddialogs.h"
#include "support/testsupport.h"

#include "app/document.h"
#include "app/pagecommands.h"
#include "app/palettewindow.h"
#include "app/staterefresh.h"
#include "check/pagecheckcontroller.h"
#include "check/pagecheckpanel.h"
#include "commands/commandactions.h"
#include "insert/insertioncontroller.h"
#include "source/sourcepane.h"
#include "source/sourcepanecontroller.h"
#include "styles/stylecontroller.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

using namespace lumipage;
using namespace lumipage::test;

namespace
{
const QString kPage = QStringLiteral("<html><head><title>t</title></head><body>\n"
                                     "<p id=one>First</p>\n<p id=two>Second</p>\n"
                                     "</body></html>\n");

// Tells whether a widget is inside its paint event: the filter delivers the event itself.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *widget) { widget->installEventFilter(this); }
    bool inside = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || inside)
            return false;
        inside = true;
        QCoreApplication::sendEvent(watched, event);
        inside = false;
        return true;
    }
};
} // namespace

class TestControllers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QSettings().clear(); }

    // Statuses in, states out: the commands, the object buttons and the lists follow the
    // page's statuses on each display change, and a caret move reads nothing of the page.
    void theRefreshSetsEveryStateFromTheStatuses()
    {
        FakePageView view;
        Document document(view);
        CommandActions actions;
        SharedValues shared;
        QLineEdit indicator;
        QComboBox elements, effects;
        QPushButton buttons[4];
        StateRefresh refresh(view, document, actions, shared,
                             {&indicator,
                              &elements,
                              &effects,
                              {&buttons[0], &buttons[1], &buttons[2], &buttons[3]}});
        view.setStatus(decmd::UNDO, CommandStatus::Enabled);
        view.setStatus(decmd::BOLD, CommandStatus::Latched);
        view.setStatus(decmd::UNORDERLIST, CommandStatus::Latched);
        view.setStatus(decmd::MAKE_ABSOLUTE, CommandStatus::Enabled);
        view.moveCaret(2);
        QCOMPARE(view.takeCalls(), QStringList());
        QVERIFY(actions.action(CommandId::Undo)->isEnabled());
        QVERIFY(!actions.action(CommandId::Redo)->isEnabled());
        QVERIFY(actions.action(CommandId::Bold)->isChecked());
        QVERIFY(!actions.action(CommandId::Italic)->isChecked());
        QVERIFY(!actions.action(CommandId::BulletList)->isEnabled()); // latched: not available
        QVERIFY(buttons[0].isEnabled() && !buttons[1].isEnabled() && !buttons[2].isEnabled());
        QVERIFY(elements.isEnabled() && effects.isEnabled());

        // A positioned object selected: layering is offered and the insertion lists rest.
        view.setStatus(decmd::MAKE_ABSOLUTE, CommandStatus::Latched);
        view.setStatus(decmd::BRING_ABOVE_TEXT, CommandStatus::Enabled);
        view.setStatus(decmd::SEND_BELOW_TEXT, CommandStatus::Enabled);
        view.setStatus(decmd::BOLD, CommandStatus::Enabled);
        view.moveCaret(3);
        QVERIFY(!buttons[0].isEnabled() && buttons[1].isEnabled() && buttons[2].isEnabled());
        QVERIFY(!elements.isEnabled() && !effects.isEnabled());
        QVERIFY(!actions.action(CommandId::Bold)->isChecked());

        // Browse mode: the mode's indicator, the lists rest, only 編集 leads back.
        view.setStatus(decmd::BRING_ABOVE_TEXT, CommandStatus::NotAvailable);
        actions.run(CommandId::Browse);
        QCOMPARE(view.takeCalls(), QStringList{"browse"});
        QCOMPARE(indicator.text(), QStringLiteral("実行モード"));
        QVERIFY(!elements.isEnabled());
        QVERIFY(!actions.action(CommandId::Browse)->isEnabled());
        QVERIFY(actions.action(CommandId::Edit)->isEnabled());
        actions.run(CommandId::Edit);
        QCOMPARE(indicator.text(), QStringLiteral("編集モード"));
        QVERIFY(elements.isEnabled());
        QVERIFY(actions.action(CommandId::Browse)->isEnabled());

        // The background commands follow the page as last loaded or saved.
        shared.background_attr = QStringLiteral("<BODY background=sky.png");
        document.setSnapshot(QStringLiteral("<HTML><BODY background=sky.png>x</BODY></HTML>"));
        view.moveCaret(1);
        QVERIFY(actions.action(CommandId::RemoveBackground)->isEnabled());
        QVERIFY(!actions.action(CommandId::BackgroundImage)->isEnabled());
    }

    // The pane follows the page only while shown, once per burst of changes, from what
    // changed; a page just opened shows its own text unread; a caret move marks its
    // element from the display report, without a call into the page.
    void thePaneFollowsThePageOnlyWhileShown()
    {
        FakePageView view;
        SourcePane pane;
        int marked = 0;
        SourcePaneController controller(view, pane, [&] { ++marked; });
        controller.setFollowDelay(0);
        view.load(kPage, QStringLiteral("/site/page.htm"));
        view.change(QString(kPage).replace("First", "1st"));
        view.moveCaret(5);
        settle();
        QCOMPARE(view.takeCalls(), QStringList());
        QVERIFY(!view.followReports());

        view.load(kPage, QStringLiteral("/site/page.htm"));
        view.takeCalls();
        controller.setShown(true);
        QVERIFY(view.followReports());
        QCOMPARE(pane.text(), kPage.toUtf8()); // the original, not a read of the page
        QCOMPARE(view.takeCalls(), QStringList{"caretElement"});

        const QString edited = QString(kPage).replace("Second", "Second more");
        view.change(QString(kPage).replace("Second", "Second m"));
        view.change(edited);
        QTRY_COMPARE(pane.text(), edited.toUtf8());
        QCOMPARE(view.takeCalls(), QStringList{"follow"});

        // 0 html, 1 head, 2 title, 3 body, 4 p, 5 p
        view.moveCaret(5);
        QCOMPARE(pane.editor()->selectedText(), QStringLiteral("<p id=two>"));
        view.moveCaret(4);
        QCOMPARE(pane.editor()->selectedText(), QStringLiteral("<p id=one>"));
        QCOMPARE(view.takeCalls(), QStringList());

        // Hidden: nothing is read, and caret reports stop.
        controller.setShown(false);
        QVERIFY(!view.followReports());
        view.change(kPage);
        settle();
        QCOMPARE(view.takeCalls(), QStringList());
        QCOMPARE(pane.text(), edited.toUtf8());
        QCOMPARE(marked, 0);
    }

    // Scintilla tells of the user's caret move while it paints. Whoever hears of it may ask
    // the page and wait for the answer in an event loop, which would paint the window again
    // inside that paint (a crash in the painter): the pane tells of the move afterwards.
    void theUsersCaretMoveIsToldOutsideThePanesPainting()
    {
        SourcePane pane;
        pane.showText(kPage.toUtf8());
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.activateWindow();
        pane.editor()->setFocus();
        QTRY_VERIFY(pane.editor()->hasFocus());
        PaintWatch painting(pane.editor()->viewport());
        qsizetype told = -1;
        bool toldWhilePainting = false;
        connect(&pane, &SourcePane::caretMoved, this, [&](qsizetype position) {
            told = position;
            toldWhilePainting = toldWhilePainting || painting.inside;
        });
        const qsizetype at = kPage.indexOf("Second");
        int line = 0, index = 0;
        pane.editor()->lineIndexFromPosition(at, &line, &index);
        pane.editor()->setCursorPosition(line, index);
        QTRY_COMPARE(told, at);
        QVERIFY(!toldWhilePainting);
    }

    // What is typed in one element of the pane replaces that element on the page; the
    // page counts as changed.
    void textTypedInOneElementReplacesThatElement()
    {
        FakePageView view;
        SourcePane pane;
        int marked = 0;
        SourcePaneController controller(view, pane, [&] { ++marked; });
        view.load(kPage);
        controller.setShown(true);
        view.takeCalls();
        const QByteArray typed = kPage.toUtf8().replace("Second", "Second!");
        pane.showText(typed);
        pane.setTypedIn(true);
        QVERIFY(controller.applyTyped());
        QCOMPARE(view.takeCalls(), QStringList{"replace 5 p <p id=two>Second!</p>"});
        QCOMPARE(view.page, QString::fromUtf8(typed));
    }

    // The check reads the page once when it settles, gathers requests made in one turn,
    // waits out browse mode, and reads nothing while its panel is hidden.
    void theCheckReadsThePageOnceWhenItSettles()
    {
        QMainWindow window;
        FakePageView view;
        window.setCentralWidget(&view);
        CommandActions actions;
        SourcePane pane;
        SourcePaneController source(view, pane, [] {});
        PageCheckController check(window, view, actions, source);
        window.show();
        QSignalSpy checked(&check, &PageCheckController::checked);

        view.page = QStringLiteral("<!DOCTYPE html><html lang=en><head><meta charset=utf-8>"
                                   "<title>t</title></head><body><p id=a>x</p><p id=a>y</p>"
                                   "</body></html>");
        check.pageSettled(); // the panel is hidden
        settle();
        QCOMPARE(view.takeCalls(), QStringList());

        actions.run(CommandId::PageCheck);
        check.pageSettled();
        QVERIFY(checked.wait(10000));
        QCOMPARE(view.takeCalls(), (QStringList{"read", "textLooks"}));
        auto *list = window.findChild<QTreeWidget *>("pageCheckList");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("id「a」が重複しています（<p>）"));

        // Asked in browse mode: checked once the page is back.
        view.setBrowseMode(true);
        view.takeCalls();
        check.pageSettled();
        settle();
        QCOMPARE(view.takeCalls(), QStringList());
        view.setBrowseMode(false);
        emit view.DocumentComplete();
        QVERIFY(checked.wait(10000));
        QCOMPARE(view.takeCalls(), (QStringList{"edit", "read", "textLooks"}));

        // A page that begins while its check runs: the findings of the page gone are not
        // shown (their elements are another page's); the new page is checked instead.
        // (A timer started after the request's own fires right after the check has begun.)
        QTimer newPage;
        newPage.setSingleShot(true);
        QObject::connect(&newPage, &QTimer::timeout, &view, [&view] {
            view.load(QStringLiteral("<!DOCTYPE html><html lang=en><head><meta charset=utf-8>"
                                     "<title>t</title></head><body><p>hello</p></body></html>"));
        });
        int rowsShown = 0;
        QObject::connect(
            list->model(), &QAbstractItemModel::rowsInserted, &view,
            [&](const QModelIndex &, int first, int last) { rowsShown += last - first + 1; });
        check.pageSettled();
        newPage.start(0);
        QVERIFY(checked.wait(10000));
        QCOMPARE(rowsShown, 0);
        QCOMPARE(view.takeCalls(), (QStringList{"read", "textLooks", "read", "textLooks"}));
        QCOMPARE(list->topLevelItemCount(), 0);

        // A finding activated selects its element on the page.
        emit window.findChild<PageCheckPanel *>()->findingActivated(
            check::PageFinding{.ordinal = 5});
        QCOMPARE(view.takeCalls(), QStringList{"select 5"});
        window.takeCentralWidget();
    }

    // The element list pastes fixed entries as they are, and tells a refusal; the effects
    // list asks the page once whether it holds a script, and refuses a second one.
    void theListsPasteAndAskThePageOnce()
    {
        FakePageView view;
        ScriptedCommonDialog common;
        QComboBox elements, effects;
        QTemporaryDir folder;
        InsertionController insertion(view, common, elements, effects, folder.path());
        insertion.fillLists();
        QVERIFY(choose(elements, QStringLiteral("テキストボックス")));
        QVERIFY(choose(elements, QStringLiteral("チェックボタン")));
        QCOMPARE(view.takeCalls(), (QStringList{"paste <INPUT TYPE=\"text\" NAME=\"textbox1\">",
                                                "paste <INPUT TYPE=\"checkbox\">"}));
        QCOMPARE(elements.currentText(), QStringLiteral("チェックボタン"));

        view.refuse = true;
        view.error = QStringLiteral("貼り付けできません");
        auto texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(choose(elements, QStringLiteral("テキストエリア")));
        QCOMPARE(*texts, QStringList{"貼り付けできません"});
        view.refuse = false;

        view.scripts = EditingComponent::ScriptPresence{true, false};
        view.takeCalls();
        texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(choose(effects, QStringLiteral("影付き文字")));
        QCOMPARE(*texts, QStringList{"既にVbscriptコードが記述されています。"});
        QCOMPARE(view.takeCalls(), QStringList{"scripts window_onload()"});
    }

    // A dialog cancelled pastes nothing; text typed into the element list inserts nothing,
    // and leaving the list puts its placeholder back.
    void cancelledDialogsAndTypedTextPasteNothing()
    {
        FakePageView view;
        ScriptedCommonDialog common;
        QComboBox elements, effects;
        elements.setEditable(true);
        effects.setEditable(true);
        QTemporaryDir folder;
        InsertionController insertion(view, common, elements, effects, folder.path());
        insertion.fillLists();
        for (const char *entry :
             {"マーキー", "フローティングフレーム", "ボタン", "水平罫線", "選択ボックス"}) {
            answerNextModal([](QWidget *w) {
                const char *cancel = w->objectName() == "Form9" || w->objectName() == "Form11"
                                         ? "Command2"
                                         : "Command3";
                w->findChild<QPushButton *>(cancel)->click();
            });
            QVERIFY(choose(elements, QString::fromUtf8(entry)));
        }
        elements.setEditText(QStringLiteral("何か"));
        emit elements.activated(-1);
        QCOMPARE(view.calls, QStringList());
        QEvent out(QEvent::FocusOut);
        QApplication::sendEvent(&elements, &out);
        QCOMPARE(elements.currentText(), QStringLiteral("Control"));
    }

    // A command, from its action or run by the program, reaches the page once with its
    // number and value, after what must go first (the source pane's typing); a colour
    // command whose dialog is cancelled asks nothing of the page.
    void commandsReachThePageWithTheirValues()
    {
        FakePageView view;
        Document document(view);
        CommandActions actions;
        ScriptedCommonDialog common;
        QComboBox elements, effects;
        QTemporaryDir folder;
        InsertionController insertion(view, common, elements, effects, folder.path());
        QWidget window;
        PageCommands commands(view, common, document, insertion, actions, window);
        actions.setBeforeEachCommand([&] { view.calls << QStringLiteral("first"); });

        actions.action(CommandId::Italic)->trigger();
        actions.run(CommandId::InsertRow);
        common.colours.enqueue(QColor(255, 128, 0));
        actions.run(CommandId::TextColour);
        actions.run(CommandId::TextColour); // cancelled
        QCOMPARE(view.takeCalls(),
                 (QStringList{"first", QStringLiteral("exec %1").arg(decmd::ITALIC), "first",
                              QStringLiteral("exec %1 1").arg(decmd::INSERTROW), "first",
                              QStringLiteral("exec %1 33023").arg(decmd::SETFORECOLOR), "first"}));
        QCOMPARE(common.shown, 2);

        // The background picture comes off as one change of the body's attributes.
        actions.run(CommandId::RemoveBackground);
        QCOMPARE(view.takeCalls().mid(0, 2),
                 (QStringList{"first", "body background= bgproperties="}));
    }

    // The style panel asks the page without waiting, once per burst of caret moves and
    // only while shown; a page that does not answer is said to.
    void theStylePanelAsksOncePerBurstOnlyWhileShown()
    {
        QMainWindow window;
        FakePageView view;
        window.setCentralWidget(&view);
        QAction toggle;
        StyleController styles(window, view, toggle);
        window.show();
        QSignalSpy filled(&styles, &StyleController::filled);
        auto *element = window.findChild<QLabel *>("styleElement");
        view.answerLater = true;
        view.moveCaret(1);
        settle();
        QCOMPARE(view.takeCalls(), QStringList());

        styles.setShown(true);
        view.moveCaret(2);
        view.moveCaret(3);
        QVERIFY(filled.wait(5000));
        QCOMPARE(view.takeCalls(), QStringList{"later styleMatches"});
        QCOMPARE(element->text(), QStringLiteral("ページから読めませんでした"));
        view.answers.insert("styleMatches", QVariantMap{{"chain", QVariantList{}}});
        view.moveCaret(4);
        QVERIFY(filled.wait(5000));
        QCOMPARE(element->text(), QStringLiteral("要素が選ばれていません"));
        QCOMPARE(view.takeCalls(), QStringList{"later styleMatches"});
        styles.setShown(false);
        window.takeCentralWidget();
    }
};

LUMIPAGE_TEST_MAIN(TestControllers)
#include "tst_controllers.moc"
