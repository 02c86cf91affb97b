// The main window on the real editing surface: controls, layout, closing, modes,
// the state refresh and the context menu.
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/document.h"
#include "app/mainwindow.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestMainWindow : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    MainWindow *&m_window = m_f.window;
    ScriptedCommonDialog *&m_dialog = m_f.dialog;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    void setPage(const QString &body) { QVERIFY(m_f.setPage(body)); }
    void select(const QString &id, int start, int end)
    {
        QVERIFY(selectIn(editor(), id, start, end));
    }
    // Runs `read` as soon as a popup menu shows (the menu runs its own loop meanwhile);
    // gives up after 10 s or when the test function that armed it has ended.
    void whenPopupShows(std::function<void()> read)
    {
        auto *timer = new QTimer(this);
        auto ticks = std::make_shared<int>(0);
        const QByteArray armedIn = QTest::currentTestFunction();
        connect(timer, &QTimer::timeout, timer, [timer, read, ticks, armedIn] {
            if (armedIn != QByteArray(QTest::currentTestFunction())) { // that test is over
                timer->deleteLater();
                timer->stop();
            } else if (QApplication::activePopupWidget()) {
                timer->deleteLater();
                timer->stop();
                read();
            } else if (++*ticks > 1000) {
                timer->deleteLater();
                timer->stop();
            }
        });
        timer->start(10);
    }

private slots:
    void init()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
        QVERIFY(m_f.create());
    }
    void cleanup()
    {
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != m_window && w->isVisible())
                w->close();
        m_f.destroy();
    }

    void startsAsDesigned()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("Form1"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Lumipage Ver1.02"));
        QVERIFY(m_window->findChild<EditingComponent *>("DHTMLEdit1"));
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        QCOMPARE(m_window->modeIndicator()->text(), QStringLiteral("編集モード"));
        QCOMPARE(m_window->elementList()->currentText(), QStringLiteral("Control"));
        QCOMPARE(m_window->elementList()->count(), 9);
        QCOMPARE(m_window->elementList()->itemText(8), QStringLiteral("マーキー"));
        QCOMPARE(m_window->effectsList()->currentText(), QStringLiteral("DynamicHtml"));
        QCOMPARE(m_window->effectsList()->itemText(0), QStringLiteral("初めにお読み下さい。"));
        QCOMPARE(m_window->effectsList()->itemText(8), QStringLiteral("ﾏｳｽで色が変わる文字"));
        // Every toolbar button can be told apart by a picture and a tip, and its state
        // follows the mode it starts in.
        auto *toolbar = m_window->findChild<QToolBar *>("Toolbar1");
        QCOMPARE(toolbar->actions().size(), 43);
        for (QAction *action : toolbar->actions()) {
            const QByteArray key = action->objectName().toLatin1();
            QVERIFY2(!action->icon().pixmap(15, 15).isNull(), key);
            QVERIFY2(!action->toolTip().isEmpty(), key);
        }
        QVERIFY(m_window->toolbarButton("go_browse")->isEnabled());
        QVERIFY(!m_window->toolbarButton("go_edit")->isEnabled());
        QCOMPARE(m_window->objectButton(0)->toolTip(), QStringLiteral("ｵﾌﾞｼﾞｪｸﾄのｸﾞﾙｰﾌﾟ化"));
        QCOMPARE(m_window->objectButton(3)->toolTip(), QStringLiteral("書式のクリア"));
        QCOMPARE(m_window->menuItem("veldmake_hyou")->text(), QStringLiteral("表の作成"));
        QCOMPARE(m_window->menuItem("sakusya")->text(), QStringLiteral("作者"));
        QVERIFY(m_window->menuItem("yyy")->isSeparator());
    }

    void resizeKeepsTheLimitsAndTheSurfaceFollows()
    {
        m_window->resize(300, 50);
        QTRY_COMPARE(m_window->width(), 13740 / 15);
        QCOMPARE(m_window->height(), 1650 / 15);
        QCOMPARE(m_window->editor()->height(), 0); // the formula would give a negative height
        m_window->resize(1200, 800);
        QTRY_COMPARE(m_window->width(), 1200);
        QCOMPARE(m_window->editor()->width(), 1200 - 20);
        QCOMPARE(m_window->editor()->height(), 800 - 122);
        QCOMPARE(MainWindow::surfaceHeightFor(100), 0);
    }

    void closeQuestionCancelKeepsTheWindow()
    {
        answerBoxes({QMessageBox::Cancel});
        QVERIFY(!m_window->close());
        QVERIFY(m_window->isVisible());
    }

    void closeQuestionYesWithoutASaveKeepsThePage()
    {
        answerBoxes({QMessageBox::Yes}); // the save dialog is then cancelled (scripted: no file)
        QVERIFY(!m_window->close());
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_dialog->shown, 1);
    }

    void closeQuestionNoClosesEveryWindow()
    {
        m_window->run(CommandId::PageColour);
        QTRY_VERIFY(m_window->palette() && m_window->palette()->isVisible());
        answerBoxes({QMessageBox::No});
        QVERIFY(m_window->close());
        QTRY_VERIFY(!m_window->palette() || !m_window->palette()->isVisible());
    }

    void exitYesThenCancelClosesThePaletteOnly()
    {
        m_window->run(CommandId::PageColour);
        QTRY_VERIFY(m_window->palette());
        answerNextModal([this](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QCOMPARE(box->text(), QStringLiteral("Lumipageを終了します！"));
            QCOMPARE(box->windowTitle(), QStringLiteral("確認"));
            box->button(QMessageBox::Yes)->click();
            answerNextModal([](QWidget *second) {
                auto *question = qobject_cast<QMessageBox *>(second);
                QCOMPARE(question->text(), QStringLiteral("データを保存してから終了しますか ?"));
                QCOMPARE(question->windowTitle(), QStringLiteral("保存"));
                question->button(QMessageBox::Cancel)->click();
            });
        });
        m_window->run(CommandId::Exit);
        QVERIFY(m_window->isVisible());
        QTRY_VERIFY(!m_window->palette() || !m_window->palette()->isVisible());
    }

    void paletteSitsTopMostAtTheCorner()
    {
        m_window->run(CommandId::PageColour);
        m_window->run(CommandId::PageColour);
        QTRY_VERIFY(m_window->palette() && m_window->palette()->isVisible());
        PaletteWindow *palette = m_window->palette();
        QCOMPARE(palette->objectName(), QStringLiteral("Form8"));
        QCOMPARE(palette->geometry().size(), QSize(160, 305));
        QVERIFY(palette->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(QApplication::topLevelWidgets().count(palette), 1);

        setPage(QStringLiteral("<P>x</P>"));
        auto *colour = palette->findChild<QLineEdit *>("Text1");
        colour->setText(QStringLiteral("red"));
        QVERIFY(editor().DocumentHTML().contains(QLatin1String("<BODY bgcolor=red>")));
        QVERIFY(palette->findChild<QPushButton *>("Command1")->styleSheet().contains("255, 0, 0"));
        palette->findChild<QPushButton *>("Command1")->click();
        QVERIFY(colour->text().isEmpty());
        QVERIFY(palette->findChild<QPushButton *>("Command1")->styleSheet().isEmpty());
    }

    void modesSwitchFromToolbarAndMenu()
    {
        m_window->toolbarButton("go_browse")->trigger();
        QVERIFY(m_window->editor()->BrowseMode());
        QCOMPARE(m_window->modeIndicator()->text(), QStringLiteral("実行モード"));
        QVERIFY(!m_window->toolbarButton("go_browse")->isEnabled());
        QVERIFY(m_window->toolbarButton("go_edit")->isEnabled());
        QVERIFY(waitForDisplayChanged(*m_window->editor()));
        QVERIFY(!m_window->toolbarButton("ie")->isEnabled());
        // The toolbar leaves the two menu items as they were: both enabled at start.
        QVERIFY(m_window->menuItem("go_browse")->isEnabled());
        QVERIFY(m_window->menuItem("go_hennsyuu")->isEnabled());
        m_window->menuItem("go_browse")->trigger(); // already browsing: stays so
        QVERIFY(m_window->editor()->BrowseMode());
        // Chosen from the menu, ブラウズ実行 greys itself and enables 編集画面.
        QVERIFY(!m_window->menuItem("go_browse")->isEnabled());
        QVERIFY(m_window->menuItem("go_hennsyuu")->isEnabled());

        m_window->menuItem("go_hennsyuu")->trigger();
        QVERIFY(!m_window->editor()->BrowseMode());
        QCOMPARE(m_window->modeIndicator()->text(), QStringLiteral("編集モード"));
        QVERIFY(!m_window->toolbarButton("go_edit")->isEnabled());
        QVERIFY(m_window->menuItem("go_browse")->isEnabled());
        QVERIFY(!m_window->menuItem("go_hennsyuu")->isEnabled());
        // Twice through the toolbar: the menu items stay as the menu left them.
        m_window->toolbarButton("go_browse")->trigger();
        m_window->toolbarButton("go_edit")->trigger();
        QVERIFY(!m_window->editor()->BrowseMode());
        QVERIFY(m_window->menuItem("go_browse")->isEnabled());
        QVERIFY(!m_window->menuItem("go_hennsyuu")->isEnabled());
        QVERIFY(m_window->elementList()->isEnabled());
    }

    void keepMarkupSettingIsRememberedAcrossStarts()
    {
        QSettings().remove(QStringLiteral("keepMarkup")); // on by default
        m_f.destroy();
        QVERIFY(m_f.create());
        QAction *keep = m_window->menuItem("keep_markup");
        QCOMPARE(keep->text(), QStringLiteral("元の書式を保って保存"));
        QVERIFY(keep->isCheckable());
        QVERIFY(keep->isChecked());
        QVERIFY(m_window->editor()->keepMarkup());
        keep->trigger();
        QVERIFY(!m_window->editor()->keepMarkup());
        m_f.destroy();
        QVERIFY(m_f.create());
        QVERIFY(!m_window->menuItem("keep_markup")->isChecked());
        QVERIFY(!m_window->editor()->keepMarkup());
        m_window->menuItem("keep_markup")->trigger(); // on again for the tests after
        QVERIFY(m_window->editor()->keepMarkup());
    }

    void refreshFollowsTheSelection()
    {
        setPage(QStringLiteral("<P id=p>plain</P><UL><LI id=li>item</LI></UL>"));
        select("p", 1, 1);
        QVERIFY(!m_window->toolbarButton("moji_undo")->isEnabled()); // nothing to undo yet
        QVERIFY(m_window->toolbarButton("list")->isEnabled());
        QVERIFY(m_window->toolbarButton("hyou")->isEnabled());
        QVERIFY(!m_window->toolbarButton("del_imageback")->isEnabled());
        QVERIFY(m_window->toolbarButton("image_back")->isEnabled());
        select("li", 1, 1);
        QVERIFY(!m_window->toolbarButton("list")->isEnabled()); // latched counts as not available
        QVERIFY(!m_window->menuItem("unorderlist")->isEnabled());
        select("p", 0, 5);
        QVERIFY(!m_window->toolbarButton("moji_bold")->isChecked());
        m_window->toolbarButton("moji_bold")->trigger();
        QVERIFY(editor().DocumentHTML().contains(QLatin1String("<B>plain</B>")));
        QTRY_VERIFY(m_window->menuItem("boldmoji")->isChecked()); // bold text shows pressed
        QTRY_VERIFY(m_window->toolbarButton("moji_undo")->isEnabled());
        QVERIFY(m_window->menuItem("veldundo")->isEnabled());
        QVERIFY(m_window->elementList()->isEnabled()); // nothing positioned is selected
    }

    void tableAndObjectCommandsFollowTheSelection()
    {
        setPage(QStringLiteral("<P id=p>text</P><TABLE><TBODY><TR><TD id=c>cell</TD></TR>"
                               "</TBODY></TABLE>"));
        select("p", 1, 1);
        QVERIFY(!m_window->toolbarButton("insert_gyou")->isEnabled());
        QVERIFY(m_window->objectButton(0)->isEnabled()); // the paragraph can be positioned
        select("c", 1, 1);
        QVERIFY(m_window->toolbarButton("insert_gyou")->isEnabled());
        QVERIFY(m_window->menuItem("velddel_retu")->isEnabled());
        m_window->toolbarButton("insert_gyou")->trigger();
        QCOMPARE(editor().DocumentHTML().count("<TR>"), 2);

        // Positioned and selected: layering is offered and the insertion lists rest.
        select("p", 1, 1);
        m_window->objectButton(0)->click();
        QVERIFY(editor().DocumentHTML().contains("<P id=p style=\"position: absolute;"));
        QTRY_VERIFY(m_window->objectButton(1)->isEnabled());
        QVERIFY(m_window->menuItem("ushiro_object")->isEnabled());
        QVERIFY(!m_window->objectButton(0)->isEnabled()); // latched
        QVERIFY(!m_window->elementList()->isEnabled());
        m_window->objectButton(2)->click();
        QVERIFY(editor().DocumentHTML().contains("z-index: -1;"));
    }

    void objectButtonsShowTheObjectAidsFirst()
    {
        m_window->editor()->setEditingAid(EditingAid::HiddenAndPlaced, false);
        m_window->objectButton(3)->setEnabled(true);
        m_window->objectButton(3)->click();
        QVERIFY(m_window->editor()->editingAid(EditingAid::HiddenAndPlaced));
    }

    void colourCommandsPassTheChosenColour()
    {
        setPage(QStringLiteral("<P id=p>colour</P>"));
        select("p", 0, 6);
        m_dialog->colours.enqueue(QColor(255, 0, 0));
        m_window->toolbarButton("moji_color")->trigger();
        QVERIFY(editor().DocumentHTML().contains(QLatin1String("#ff0000")));
        const QString before = editor().DocumentHTML();
        m_window->toolbarButton("moji_backcolor")->trigger(); // cancelled: nothing applied
        QCOMPARE(editor().DocumentHTML(), before);
        QCOMPARE(colorValue(QColor(1, 2, 3)), 0x030201u);
    }

    void contextMenuFollowsModeAndStatuses()
    {
        setPage(QStringLiteral("<P id=p>menu</P>"));
        select("p", 1, 1);
        QStringList texts;
        QList<bool> enabled;
        // Reads the menu as it shows and chooses the entry `choose` (none: closes it).
        const auto readMenu = [&](int choose) {
            return [&, choose] {
                texts.clear();
                enabled.clear();
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                QVERIFY(menu);
                QCOMPARE(menu->objectName(), QStringLiteral("DHTMLEditContextMenu"));
                for (QAction *action : menu->actions()) {
                    texts << (action->isSeparator() ? QString() : action->text());
                    enabled << action->isEnabled();
                }
                if (choose < 0) {
                    menu->close();
                    return;
                }
                QAction *entry = menu->actions().at(choose);
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
            };
        };
        auto *view = m_window->editor()->findChild<QWebEngineView *>();
        whenPopupShows(readMenu(-1));
        emit view->customContextMenuRequested(QPoint(10, 10));
        QTRY_COMPARE(texts.size(), 26);
        QCOMPARE(texts.at(0), QStringLiteral("複写"));
        QCOMPARE(texts.at(16), QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ化"));
        QVERIFY(!enabled.at(0)); // nothing selected to copy
        QVERIFY(enabled.at(4));  // ブラウズ in edit mode
        QVERIFY(!enabled.at(5)); // 編集 greyed
        QVERIFY(enabled.at(10)); // ソースの表示 never greyed
        QVERIFY(enabled.at(8));  // 全て選択

        // Choosing ブラウズ switches like the toolbar and the menu.
        whenPopupShows(readMenu(4));
        emit view->customContextMenuRequested(QPoint(10, 10));
        QTRY_VERIFY(m_window->editor()->BrowseMode());
        QVERIFY(!m_window->toolbarButton("go_browse")->isEnabled());
        auto *browsing = browseView(editor());
        QVERIFY(browsing);
        texts.clear();
        whenPopupShows(readMenu(5));
        emit browsing->customContextMenuRequested(QPoint(10, 10));
        QTRY_VERIFY(!m_window->editor()->BrowseMode());
        QVERIFY(!enabled.at(4));
        QVERIFY(enabled.at(5));
        QVERIFY(!enabled.at(8)); // nothing edits while browsing
    }
};

LUMIPAGE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
