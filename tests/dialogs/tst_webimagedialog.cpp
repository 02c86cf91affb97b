// The web-copy dialog driven by its controls' names, and a phone photo put on a real page
// through the image dialog: the copies written beside the page, the element naming them.
#include "support/dialogdriver.h"
#include "support/testsupport.h"

#include "dialogs/webimage/webimagedialog.h"
#include "insert/webimageinsertion.h"
#include "pictures/webcopy.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace lumipage;
using namespace lumipage::pictures;
using namespace lumipage::test;

class TestWebImageDialog : public QObject
{
    Q_OBJECT

    static PictureInfo phonePhoto()
    {
        PictureInfo info;
        info.path = QStringLiteral("/photos/IMG_0001.jpg");
        info.width = 4032;
        info.height = 3024;
        info.bytes = 3'494'979;
        info.format = QStringLiteral("JPEG");
        info.orientation = 6;
        info.gps = true;
        return info;
    }

    // A 2400 × 1800 JPEG: wider than a page needs.
    static bool writeBlackPhoto(const QString &path)
    {
        return QProcess::execute("vips", {"black", path, "2400", "1800", "--bands", "3"}) == 0;
    }

    // A shown editing surface whose new pictures go through `insertion`, as the main
    // window wires it.
    static std::unique_ptr<WebEngineEditingComponent> editorOffering(WebImageInsertion &insertion)
    {
        auto editor = shownEditor();
        editor->setImageMarkupRoad(
            [&insertion](const ImageFields &fields, const QString &folder, int shown, bool always) {
                return insertion.markupFor(fields, folder, shown, always);
            });
        return editor;
    }

private slots:
    void choices()
    {
        const PictureInfo info = phonePhoto();
        {
            WebImageDialog dialog(info, suggestWebCopy(info, 0, false));
            DialogDriver driver(dialog);
            QCOMPARE(dialog.objectName(), QStringLiteral("webImageDialog"));
            QCOMPARE(
                dialog.findChild<QLabel *>("webImageInfo")->text(),
                QStringLiteral("「IMG_0001.jpg」: 3024×4032 ピクセル、3,414 KB、位置情報あり"));
            // LUMIPAGE_SCREENSHOT=FILE keeps the dialog as a user first sees it (the README's).
            if (qEnvironmentVariableIsSet("LUMIPAGE_SCREENSHOT"))
                QVERIFY(dialog.grab().save(qEnvironmentVariable("LUMIPAGE_SCREENSHOT")));
            auto *width = dialog.findChild<QSpinBox *>("webImageWidth");
            QCOMPARE(width->value(), 1600);
            QCOMPARE(width->maximum(), 3024);
            auto *strip = dialog.findChild<QCheckBox *>("webImageStripMetadata");
            QCOMPARE(strip->text(), QStringLiteral("位置情報などを削除"));
            QVERIFY(strip->isChecked());
            QCOMPARE(dialog.findChild<QSpinBox *>("webImageQuality")->value(), 82);
            QVERIFY(driver.choose("webImageFormat", "PNG(図・透明部分のある画像向き)"));
            QVERIFY(!driver.enabled("webImageQuality")); // PNG alone has no quality
            QVERIFY(driver.choose("webImageFormat", "WebP + JPEG(古いブラウザ用)"));
            QVERIFY(driver.enabled("webImageQuality"));
            width->setValue(1200);
            dialog.findChild<QCheckBox *>("webImageHighDensity")->setChecked(true);
            QCOMPARE(dialog.findChild<QPushButton *>("webImageOk")->text(), QStringLiteral("OK"));
            QVERIFY(driver.accept("webImageOk"));
            const WebImageChoice choice = dialog.choice();
            QCOMPARE(choice.width, 1200);
            QCOMPARE(choice.format, WebFormat::Jpeg);
            QVERIFY(choice.webpFirst && choice.highDensity && choice.stripPersonal);
        }
        WebImageDialog dialog(info, suggestWebCopy(info, 0, false));
        DialogDriver driver(dialog);
        QCOMPARE(dialog.findChild<QPushButton *>("webImageAsIs")->text(),
                 QStringLiteral("そのまま挿入"));
        QVERIFY(driver.press("webImageAsIs"));
        QCOMPARE(dialog.result(), WebImageDialog::InsertAsIs);
    }

    // A photo inserted with the image dialog on a saved page: the offer shows, and with
    // 高解像度の画面用 two copies go beside the page, named by src and srcset.
    void photoThroughTheImageDialog()
    {
        QTemporaryDir dir;
        const QString photo = dir.filePath("photo.jpg");
        QVERIFY(writeBlackPhoto(photo));
        writeBytes(dir.filePath("page.htm"), "<HTML><BODY><P id=p>before after</P></BODY></HTML>");
        QWidget window;
        WebImageInsertion insertion(window);
        auto editor = editorOffering(insertion);
        QVERIFY(loadAndWait(*editor, dir.filePath("page.htm")));
        QVERIFY(selectIn(*editor, "p", 7, 7));
        answerNextModal([photo](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("ImageDialog"));
            w->findChild<QLineEdit *>("imageSource")->setText(photo);
            w->findChild<QLineEdit *>("imageAlt")->setText("海");
            QPointer<QWidget> imageDialog = w;
            answerNextModal(
                [](QWidget *web) {
                    QCOMPARE(web->objectName(), QStringLiteral("webImageDialog"));
                    web->findChild<QCheckBox *>("webImageHighDensity")->setChecked(true);
                    web->findChild<QPushButton *>("webImageOk")->click();
                },
                imageDialog);
            w->findChild<QPushButton *>("imageOk")->click();
        });
        QVERIFY(editor->ExecCommand(decmd::IMAGE, CommandOption::Prompt));
        QVERIFY2(bodyOf(*editor).contains("<IMG src=photo-800.jpg srcset=\"photo-800.jpg 1x, "
                                          "photo-1600.jpg 2x\" alt=海 width=800 height=600>after"),
                 qPrintable(bodyOf(*editor)));
        QVERIFY(QFileInfo(dir.filePath("photo-800.jpg")).isFile());
        QVERIFY(QFileInfo(dir.filePath("photo-1600.jpg")).isFile());
    }

    // A picture already on the page: the image dialog tells its file's size and the size
    // shown, and 「Web用に最適化…」 puts a copy twice the shown width in its place; one that
    // carries more than the dialog shows (an id) is not offered, so nothing is lost.
    void pictureOnThePageMadeIntoAWebCopy()
    {
        QTemporaryDir dir;
        QVERIFY(writeBlackPhoto(dir.filePath("photo.jpg")));
        const qint64 kb = (QFileInfo(dir.filePath("photo.jpg")).size() + 1023) / 1024;
        writeBytes(dir.filePath("page.htm"),
                   "<HTML><BODY><P><IMG id=kept src=photo.jpg width=300 height=225>"
                   "<IMG src=photo.jpg width=400 height=300></P></BODY></HTML>");
        QWidget window;
        WebImageInsertion insertion(window);
        auto editor = editorOffering(insertion);
        QVERIFY(loadAndWait(*editor, dir.filePath("page.htm")));
        QVERIFY(editor->call("selectObject", {"kept"}).ok);
        answerNextModal([](QWidget *w) {
            QVERIFY(!w->findChild<QPushButton *>("imageOptimize")->isEnabled());
            w->findChild<QPushButton *>("imageCancel")->click();
        });
        QVERIFY(!editor->ExecCommand(decmd::IMAGE, CommandOption::Prompt));

        // A click selects the picture, as a user does.
        QVERIFY(setBody(*editor, "<P><IMG src=photo.jpg width=400 height=300>after</P>"));
        QVERIFY(clickPage(*editor, QPoint(100, 100)));
        answerNextModal([kb](QWidget *w) {
            QCOMPARE(w->findChild<QLabel *>("imageFileFacts")->text(),
                     QStringLiteral("2400×1800 ピクセル、%1 KB(表示 400×300)").arg(kb));
            QPointer<QWidget> imageDialog = w;
            answerNextModal(
                [](QWidget *web) {
                    QCOMPARE(web->findChild<QSpinBox *>("webImageWidth")->value(), 800);
                    web->findChild<QPushButton *>("webImageOk")->click();
                },
                imageDialog);
            w->findChild<QPushButton *>("imageOptimize")->click();
        });
        QVERIFY(editor->ExecCommand(decmd::IMAGE, CommandOption::Prompt));
        QCOMPARE(bodyOf(*editor),
                 QStringLiteral("<P><IMG src=photo-800.jpg width=400 height=300>after</P>"));
        QVERIFY(editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(bodyOf(*editor),
                 QStringLiteral("<P><IMG src=photo.jpg width=400 height=300>after</P>"));
    }
};

LUMIPAGE_TEST_MAIN(TestWebImageDialog)
#include "tst_webimagedialog.moc"
