// A picture pasted on the page through the main window on the real editing surface: image
// data written beside the page as a PNG and named by the element, a copied photo file
// through the web-copy offer.
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/document.h"
#include "app/mainwindow.h"
#include "platform/editing/editingcommands.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestPicturePaste : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    QTemporaryDir m_dir;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool savedPage()
    {
        writeBytes(path("page.htm"), "<HTML><BODY><P id=p>text</P></BODY></HTML>");
        return loadAndWait(editor(), path("page.htm")) &&
               test::waitFor(
                   [this] { return m_f.window->document().snapshot() == editor().DocumentHTML(); },
                   10000);
    }

private slots:
    // One window for the program: each test starts on an empty, unchanged page.
    void init() { QVERIFY(m_f.reuse()); }
    void cleanupTestCase() { m_f.destroy(); }

    // A screenshot (image data, nothing else) goes beside the page under a free name, as
    // one undo step; Ctrl+V on the page takes the same road; text goes in as before.
    void imageDataBecomesAFileBesideThePage()
    {
        QVERIFY(savedPage());
        // Text pastes as the engine always did.
        QGuiApplication::clipboard()->setText("plain words");
        m_f.window->run(CommandId::Paste);
        QTRY_VERIFY2(editor().DocumentHTML().contains("plain words"),
                     qPrintable(editor().DocumentHTML()));
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));

        const QByteArray kept = "not a picture of ours";
        writeBytes(path("paste-1.png"), kept);
        QImage shot(120, 80, QImage::Format_RGB32);
        shot.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(shot);
        m_f.window->run(CommandId::Paste);
        QTRY_VERIFY2(editor().DocumentHTML().contains("<IMG src=paste-2.png width=120 height=80>"),
                     qPrintable(editor().DocumentHTML()));
        QCOMPARE(readBytes(path("paste-1.png")), kept);
        QCOMPARE(QImage(path("paste-2.png")).size(), QSize(120, 80));
        QVERIFY(!editor().DocumentHTML().contains("data:"));
        QVERIFY(editor().ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QVERIFY(!editor().DocumentHTML().contains("<IMG"));

        auto *view = editor().findChild<QWebEngineView *>();
        QWidget *surface = view->focusProxy() ? view->focusProxy() : view;
        surface->setFocus();
        QTest::keyClick(surface, Qt::Key_V, Qt::ControlModifier);
        QTRY_VERIFY2(editor().DocumentHTML().contains("<IMG src=paste-3.png width=120 height=80>"),
                     qPrintable(editor().DocumentHTML()));
        QVERIFY(!editor().DocumentHTML().contains("data:"));

        // One too big for the page: its web copy goes in, and the full picture, named
        // nowhere, is not left beside the page.
        QImage big(2400, 1800, QImage::Format_RGB32);
        big.fill(Qt::darkGreen);
        QGuiApplication::clipboard()->setImage(big);
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("webImageDialog"));
            w->findChild<QPushButton *>("webImageOk")->click();
        });
        m_f.window->run(CommandId::Paste);
        QTRY_VERIFY2_WITH_TIMEOUT(editor().DocumentHTML().contains("<IMG src=paste-4-"),
                                  qPrintable(editor().DocumentHTML()), 20000);
        QVERIFY(!QFileInfo::exists(path("paste-4.png")));
    }

    // A page never saved is saved first, as the picture goes beside it; declining pastes
    // nothing and writes nothing.
    void aNewPageIsSavedFirst()
    {
        editor().NewDocument(); // the window's page may have a file from a test before
        QVERIFY(waitForComplete(editor()));
        QVERIFY(editor().documentPath().isEmpty());
        QVERIFY(QDir().mkpath(path("new")));
        QImage shot(40, 30, QImage::Format_RGB32);
        shot.fill(Qt::blue);
        QGuiApplication::clipboard()->setImage(shot);
        auto boxes = answerBoxes({QMessageBox::Cancel});
        m_f.window->run(CommandId::Paste);
        QTRY_COMPARE(boxes->size(), 1);
        QCOMPARE(boxes->first(),
                 "貼り付ける画像はページと同じフォルダーにファイルとして保存します。"
                 "\n先にページを保存してください。保存しますか？");
        QVERIFY(!editor().DocumentHTML().contains("<IMG"));
        QVERIFY(QDir(path("new")).isEmpty());

        boxes = answerBoxes({QMessageBox::Ok, QMessageBox::Ok}); // the question, 保存しました
        m_f.dialog->files.enqueue(path("new/new.htm"));
        m_f.window->run(CommandId::Paste);
        QTRY_VERIFY2(editor().DocumentHTML().contains("<IMG src=paste-1.png width=40 height=30>"),
                     qPrintable(editor().DocumentHTML()));
        QCOMPARE(boxes->size(), 2);
        QCOMPARE(editor().documentPath(), path("new/new.htm"));
        QCOMPARE(QImage(path("new/paste-1.png")).size(), QSize(40, 30));
    }

    // A copied photo file wider than a page needs: the web-copy offer shows, and its copy
    // goes in, written beside the photo in the page's folder.
    void copiedPhotoFileThroughTheWebCopyOffer()
    {
        QVERIFY(savedPage());
        QVERIFY(QDir().mkpath(path("photos")));
        QVERIFY(QProcess::execute("vips", {"black", path("photos/photo.jpg"), "2400", "1800",
                                           "--bands", "3"}) == 0);
        auto *data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(path("photos/photo.jpg"))});
        data->setText(path("photos/photo.jpg")); // a file manager adds the path as text
        QGuiApplication::clipboard()->setMimeData(data);
        auto offered = std::make_shared<bool>(false);
        answerNextModal([offered](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("webImageDialog"));
            *offered = true;
            w->findChild<QPushButton *>("webImageOk")->click();
        });
        m_f.window->run(CommandId::Paste);
        QTRY_VERIFY2_WITH_TIMEOUT(editor().DocumentHTML().contains(
                                      "<IMG src=photos/photo-1600.jpg width=800 height=600>"),
                                  qPrintable(editor().DocumentHTML()), 20000);
        QVERIFY(*offered);
        QVERIFY(QFileInfo(path("photos/photo-1600.jpg")).isFile());
    }
};

LUMIPAGE_TEST_MAIN(TestPicturePaste)
#include "tst_picturepaste.moc"
