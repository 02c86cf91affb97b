// Everyday work through the main window on the real editing surface: recent files,
// dropped files (a large photo through the web-copy offer), bringing outside pictures in on save,
// the page check, special files, publishing from the toolbar.
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/document.h"
#include "app/mainwindow.h"
#include "platform/editing/editingcommands.h"
#include "platform/editing/filedropfilter.h"
#include "platform/editing/webengineeditingcomponent.h"
#include "publish/publishsettings.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEngineView>

#include <sys/stat.h>

using namespace lumipage;
using namespace lumipage::test;

class TestEverydayWindow : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    QTemporaryDir m_dir;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void page(const QString &name, const QString &body)
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        writeBytes(path(name), ("<HTML><BODY>" + body + "</BODY></HTML>").toUtf8());
    }
    QMenu *recentMenu()
    {
        QMenu *menu = m_f.window->menuItem("recent_files")->menu();
        emit menu->aboutToShow(); // filled as when it opens
        return menu;
    }
    QStringList entries()
    {
        QStringList out;
        for (QAction *a : recentMenu()->actions())
            if (!a->isSeparator())
                out << a->text() + (a->toolTip() == a->text() ? "" : " | " + a->toolTip());
        return out;
    }
    // Drops `files` on the editing view at `at`. Qt delivers only drops that come from a
    // real drag, so the synthesised drop goes to the surface's file-drop filter as the
    // application would hand it over.
    void drop(const QStringList &files, QPoint at = {40, 20})
    {
        QList<QUrl> urls;
        for (const QString &f : files)
            urls << QUrl::fromLocalFile(f);
        QMimeData data;
        data.setUrls(urls);
        auto *view = editor().findChild<QWebEngineView *>();
        QWidget *target = view->focusProxy() ? view->focusProxy() : view;
        QObject *filter = editor().findChild<FileDropFilter *>();
        QVERIFY(filter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(filter->eventFilter(target, &event));
        QVERIFY(event.isAccepted());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path("settings"));
    }
    // One window for the program: each test starts on an empty, unchanged page.
    void init() { QVERIFY(m_f.reuse()); }
    void cleanupTestCase() { m_f.destroy(); }

    void recentFilesReopenThroughTheSameQuestion()
    {
        page("a/one.htm", "<P>one</P>");
        page("b/two.htm", "<P>two</P>");
        const auto settled = [this] {
            return test::waitFor(
                [this] {
                    return !m_f.window->document().isModified() &&
                           m_f.window->document().snapshot() == editor().DocumentHTML();
                },
                10000);
        };
        m_f.window->openFile(path("a/one.htm"));
        QVERIFY(settled());
        m_f.dialog->files.enqueue(path("b/two.htm"));
        m_f.window->run(CommandId::OpenFile);
        QVERIFY(settled());
        QCOMPARE(entries(), (QStringList{"two.htm | " + path("b/two.htm"),
                                         "one.htm | " + path("a/one.htm"), "一覧を消去"}));
        // A changed page: the question of 開く comes first; Cancel opens without saving.
        QVERIFY(editor().pasteHTML("<B>changed</B>"));
        QTRY_VERIFY(m_f.window->document().isModified());
        const auto boxes = answerBoxes({QMessageBox::Cancel});
        recentMenu()->actions().at(1)->trigger();
        QTRY_COMPARE(editor().documentPath(), path("a/one.htm"));
        QCOMPARE(*boxes, QStringList{"編集中のファイルを保存しますか？"});
        QCOMPARE(entries().first(), "one.htm | " + path("a/one.htm"));
        // Recent pages and 元の書式を保って保存 are kept in the one settings file.
        m_f.window->menuItem("keep_markup")->trigger();
        m_f.window->menuItem("keep_markup")->trigger();
        QStringList settingsFiles;
        for (QDirIterator it(path("settings"), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();)
            settingsFiles << it.next();
        QCOMPARE(settingsFiles, QStringList{path("settings/Lumipage/Lumipage.conf")});
        // A file gone is dropped when the menu opens; the list can be emptied.
        QVERIFY(QFile::remove(path("b/two.htm")));
        QCOMPARE(entries().size(), 2);
        recentMenu()->findChild<QAction *>("recent_clear")->trigger();
        QCOMPARE(entries(), QStringList{"一覧を消去"});
        QVERIFY(!recentMenu()->actions().last()->isEnabled());
    }

    void droppedFilesOpenGoInOrAreRefused()
    {
        page("site/page.htm", "<P id=p>text</P>");
        QVERIFY(loadAndWait(editor(), path("site/page.htm")));
        QTRY_COMPARE(m_f.window->document().snapshot(), editor().DocumentHTML());
        // A picture in the page's folder goes in where it is dropped, named relatively.
        QVERIFY(QDir().mkpath(path("site/pics")));
        QVERIFY(QFile::copy(dataFile("hostile/pic.svg"), path("site/pics/pic.svg")));
        drop({path("site/pics/pic.svg")});
        QTRY_VERIFY(editor().DocumentHTML().contains("<IMG src=pics/pic.svg>"));
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QVERIFY(!editor().DocumentHTML().contains("<IMG"));
        // A photo wider than a page needs, from outside the folder: its web copy goes in,
        // written beside the page, shown at half its width; the photo stays as it was.
        QVERIFY(QProcess::execute(
                    "vips", {"black", path("photo.jpg"), "2400", "1800", "--bands", "3"}) == 0);
        const QByteArray photo = readBytes(path("photo.jpg"));
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("webImageDialog"));
            w->findChild<QPushButton *>("webImageOk")->click();
        });
        drop({path("photo.jpg")});
        QTRY_VERIFY_WITH_TIMEOUT(
            editor().DocumentHTML().contains("<IMG src=photo-1600.jpg width=800 height=600>"),
            20000);
        QVERIFY(QFileInfo(path("site/photo-1600.jpg")).isFile());
        QCOMPARE(readBytes(path("photo.jpg")), photo);
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        // Anything else is refused with a message naming it.
        writeBytes(path("notes.txt"), "x");
        auto boxes = answerBoxes({QMessageBox::Ok});
        drop({path("notes.txt")});
        QTRY_COMPARE(boxes->size(), 1);
        QCOMPARE(boxes->first(), "「notes.txt」はHTMLファイルでも画像でもないため、開けません。");
        // A page opens.
        page("other.htm", "<P>other</P>");
        drop({path("other.htm")});
        QTRY_COMPARE(editor().documentPath(), path("other.htm"));
    }

    void aSaveBringsOutsidePicturesIn()
    {
        QDir().mkpath(path("keep/in"));
        QDir().mkpath(path("keep/elsewhere"));
        QVERIFY(QFile::copy(dataFile("hostile/pic.svg"), path("keep/elsewhere/pic.svg")));
        writeBytes(path("keep/in/pic.svg"), "<svg xmlns='http://www.w3.org/2000/svg'/>");
        page("keep/in/page.htm", "<P>x</P>");
        QVERIFY(loadAndWait(editor(), path("keep/in/page.htm")));
        QVERIFY(editor().pasteHTML("<IMG src=\"" + path("keep/elsewhere/pic.svg") + "\">"));
        const QString before = editor().DocumentHTML();

        // No: saved as it is.
        m_f.dialog->files.enqueue(path("keep/in/page.htm"));
        auto boxes = answerBoxes({QMessageBox::Ok, QMessageBox::No, QMessageBox::Ok});
        m_f.window->run(CommandId::SaveFile);
        QCOMPARE(boxes->value(1), "ページのフォルダの外にある画像が 1 個あります。"
                                  "ページのフォルダにコピーして相対パスにしますか？");
        QCOMPARE(editor().DocumentHTML(), before);
        QVERIFY(!QFile::exists(path("keep/in/pic-2.svg")));

        // Yes: copied beside the page under a free name, named relatively, saved; one
        // undo puts the absolute name back.
        m_f.dialog->files.enqueue(path("keep/in/page.htm"));
        boxes = answerBoxes({QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Ok});
        m_f.window->run(CommandId::SaveFile);
        QCOMPARE(boxes->size(), 3);
        QCOMPARE(readBytes(path("keep/in/pic-2.svg")), readBytes(path("keep/elsewhere/pic.svg")));
        QCOMPARE(readBytes(path("keep/in/pic.svg")),
                 QByteArray("<svg xmlns='http://www.w3.org/2000/svg'/>"));
        QVERIFY(editor().DocumentHTML().contains("<IMG src=pic-2.svg>"));
        QVERIFY(readBytes(path("keep/in/page.htm")).contains("<IMG src=pic-2.svg>"));
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(editor().DocumentHTML(), before);
    }

    void aSaveReadsThePageOnce()
    {
        page("once/page.htm", "<P>one</P>\n<P id=two>two</P>");
        QVERIFY(loadAndWait(editor(), path("once/page.htm")));
        QVERIFY(selectIn(editor(), "two", 3, 3)); // the caret after "two"
        QVERIFY(editor().pasteHTML("<B>three</B>"));
        const quint64 before = editor().pageCallsMade();
        m_f.dialog->files.enqueue(path("once/page.htm"));
        auto boxes = answerBoxes({QMessageBox::Ok, QMessageBox::Ok}); // overwrite; saved
        m_f.window->run(CommandId::SaveFile);
        QCOMPARE(boxes->size(), 2);
        // The page, what changed in it and the engine's markup of the changed stretch, in
        // one call.
        QCOMPARE(editor().pageCallsMade() - before, quint64(1));
        QCOMPARE(readBytes(path("once/page.htm")),
                 QByteArray("<HTML><BODY><P>one</P>\n<P id=two>two<B>three</B></P></BODY></HTML>"));
        // Nothing changed since the save: one small call answers, the page is not read.
        const quint64 asked = editor().pageCallsMade();
        QVERIFY(!m_f.window->document().isModified());
        QCOMPARE(editor().pageCallsMade() - asked, quint64(1));
        // A change undone brings the saved page back: unchanged again, by its text.
        QVERIFY(editor().pasteHTML("<I>four</I>"));
        QVERIFY(m_f.window->document().isModified());
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QTRY_VERIFY(!m_f.window->document().isModified());
    }

    void thePageCheckAndSpecialFiles()
    {
        page("check/page.htm", "<IMG src=gone.png>\n<A href=/abs/x.htm>x</A>");
        QVERIFY(loadAndWait(editor(), path("check/page.htm")));
        m_f.window->run(CommandId::PageCheck);
        // The file findings among the others, in the check panel.
        auto *list = m_f.window->findChild<QTreeWidget *>(QStringLiteral("pageCheckList"));
        QStringList files;
        QTRY_VERIFY(list->topLevelItemCount() > 0);
        for (int k = 0; k < list->topLevelItemCount(); ++k)
            if (list->topLevelItem(k)->text(0) == u"ファイル")
                files << list->topLevelItem(k)->text(2) + u' ' + list->topLevelItem(k)->text(1);
        QCOMPARE(files, QStringList({QStringLiteral("1 ファイルがありません: gone.png"),
                                     QStringLiteral("2 ファイルがありません: /abs/x.htm"),
                                     QStringLiteral("2 絶対パスで指定されています: /abs/x.htm")}));
        // A named pipe given to open is refused at once, and the page stays.
        const QString fifo = path("pipe.htm");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        auto boxes = answerBoxes({QMessageBox::Ok});
        QElapsedTimer clock;
        clock.start();
        m_f.window->openFile(fifo);
        QVERIFY(clock.elapsed() < 2000);
        QTRY_COMPARE(boxes->size(), 1);
        QVERIFY2(boxes->first().contains("名前付きパイプ（FIFO）"), qPrintable(boxes->first()));
        QCOMPARE(editor().documentPath(), path("check/page.htm"));
    }

    // サイトへ公開… is also a button of its own at the window's right end, apart from the
    // toolbar's fixed set; it opens the list before sending.
    void publishFromTheToolbar()
    {
        page("site/index.htm", "<IMG src=a.png>");
        writeBytes(path("site/a.png"), "picture");
        PublishTarget folder;
        folder.protocol = PublishTarget::Protocol::Folder;
        folder.remoteFolder = path("public");
        QVERIFY(QDir().mkpath(folder.remoteFolder));
        publishsettings::store({path("site"), folder});
        m_f.window->openFile(path("site/index.htm"));
        QTRY_VERIFY(editor().documentPath() == path("site/index.htm") &&
                    !m_f.window->document().isModified() &&
                    m_f.window->document().snapshot() == editor().DocumentHTML());

        auto *bar = m_f.window->findChild<QToolBar *>("publishToolBar");
        QVERIFY(bar && bar->isVisible());
        auto *button = bar->findChild<QToolButton *>("publish_site");
        QVERIFY(button);
        QCOMPARE(button->defaultAction(), m_f.window->menuItem("publish_site"));
        QVERIFY(button->isEnabled());
        // The toolbar's fixed set stays as it is; the button sits at the window's right
        // end, above the toolbar, whatever the width.
        auto *fixed = m_f.window->findChild<QToolBar *>("Toolbar1");
        QCOMPARE(fixed->actions().size(), 43);
        for (int width : {0, 1400}) {
            m_f.window->resize(width, m_f.window->height());
            QTRY_VERIFY(m_f.window->width() >= width);
            // The menu bar lays its corner out once the resize has been handled.
            const auto place = [&] {
                return QRect(button->mapTo(m_f.window, QPoint(0, 0)), button->size());
            };
            QTRY_VERIFY2(m_f.window->width() - place().right() < 16 &&
                             place().bottom() < fixed->mapTo(m_f.window, QPoint(0, 0)).y(),
                         qPrintable(QStringLiteral("%1: %2 %3")
                                        .arg(width)
                                        .arg(place().right())
                                        .arg(place().bottom())));
        }
        auto rows = std::make_shared<QStringList>();
        answerNextModal([rows](QWidget *dialog) {
            auto *list = dialog->findChild<QTreeWidget *>("publishList");
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                *rows << box->text();
            for (int i = 0; list && i < list->topLevelItemCount(); ++i)
                *rows << list->topLevelItem(i)->text(0) + ' ' + list->topLevelItem(i)->text(1);
            static_cast<QDialog *>(dialog)->reject();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!rows->isEmpty(), 10000);
        QCOMPARE(rows->join(" / "), QString("a.png 送信 / index.htm 送信"));
    }
};

LUMIPAGE_TEST_MAIN(TestEverydayWindow)
#include "tst_everydaywindow.moc"
