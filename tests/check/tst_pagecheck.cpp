// The page check panel on the real editing surface: a page with hidden faults gives
// exactly those findings at their lines, a clean page none; a double click selects the
// element on the page and marks it in the source pane.
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "check/pagecheckcontroller.h"
#include "check/pagecheckpanel.h"
#include "commands/commandactions.h"
#include "source/sourcepane.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace lumipage;
using namespace lumipage::test;

class TestPageCheck : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    QTemporaryDir m_dir;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    QDockWidget *panel() { return m_f.window->findChild<QDockWidget *>("pageCheckPanel"); }
    QTreeWidget *list() { return m_f.window->findChild<QTreeWidget *>("pageCheckList"); }
    PageCheckController *controller() { return m_f.window->findChild<PageCheckController *>(); }
    QString status() { return m_f.window->findChild<QLabel *>("pageCheckStatus")->text(); }
    QStringList rows()
    {
        QStringList out;
        for (int k = 0; k < list()->topLevelItemCount(); ++k) {
            const QTreeWidgetItem *item = list()->topLevelItem(k);
            out << QStringList{item->text(0), item->text(2), item->text(3), item->text(1)}.join(
                u' ');
        }
        return out;
    }
    // Opens a page of the test data (copied with its picture) and waits for the panel,
    // shown, to be filled again.
    bool openAndWaitForCheck(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile::copy(QStringLiteral(LUMIPAGE_TEST_DATA "/check/") + name, path);
        QSignalSpy checked(controller(), &PageCheckController::checked);
        return loadAndWait(editor(), path) &&
               test::waitFor([&] { return !checked.isEmpty(); }, 10000);
    }

private slots:
    void initTestCase()
    {
        QSettings().clear(); // nothing remembered from an earlier run (the source pane shown)
        QVERIFY(m_dir.isValid());
        QVERIFY(QFile::copy(LUMIPAGE_TEST_DATA "/check/tea.png", m_dir.filePath("tea.png")));
        QVERIFY(m_f.create());
        QVERIFY(!panel()->isVisible());
        QSignalSpy checked(controller(), &PageCheckController::checked);
        m_f.window->run(CommandId::PageCheck);
        QVERIFY(panel()->isVisible());
        QVERIFY(checked.wait(10000));
    }
    void cleanupTestCase() { m_f.destroy(); }

    void theHiddenFaultsAndNothingElse()
    {
        QVERIFY(openAndWaitForCheck("faults.htm"));
        const QStringList faults = {
            "アクセシビリティ 10 P 文字と背景のコントラストが足りません（2.32:1、4.5:1 "
            "以上が必要です）",
            "HTML 11 P id「intro」が重複しています（<p>）",
            "スペル 11 P 綴りが誤っているかもしれません: recieved",
            "アクセシビリティ 13 INPUT 入力欄にラベル（<label>）がありません",
            "アクセシビリティ 15 IMG 画像に代替テキスト（alt）がありません: tea.png",
            "HTML 16 TABLE <table> が閉じられていません（</body> の前で閉じていません）"};
        QCOMPARE(rows().join(u'\n'), faults.join(u'\n'));
        QCOMPARE(status(), QStringLiteral("6 件の問題が見つかりました"));

        // With spelling off, 再点検 gives the others.
        QSettings().setValue("spelling/enabled", false);
        QSignalSpy checked(controller(), &PageCheckController::checked);
        m_f.window->findChild<QPushButton *>("pageCheckAgain")->click();
        QVERIFY(checked.wait(10000));
        QCOMPARE(list()->topLevelItemCount(), 5);
        QVERIFY(!rows().join(u'\n').contains(u"スペル"));
        QSettings().setValue("spelling/enabled", true);
    }

    // A double click on a finding selects its element on the page (a form control as an
    // object) and marks its start tag in the source pane.
    void aDoubleClickSelectsTheElement()
    {
        QVERIFY(openAndWaitForCheck("faults.htm"));
        m_f.window->action(CommandId::SourcePane)->trigger();
        QTRY_VERIFY(m_f.window->sourcePane()->isVisible());
        const int row = rows().indexOf(QRegularExpression("^アクセシビリティ 13 INPUT.*"));
        QVERIFY(row >= 0);
        QTreeWidgetItem *item = list()->topLevelItem(row);
        list()->scrollToItem(item);
        const QRect at = list()->visualItemRect(item);
        // A double click as the window system gives it: a click, then the second press.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at.center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at.center());
        QTRY_COMPARE(editor().caretElement(), 10); // html head meta title body h1 p p p form input
        QCOMPARE(m_f.window->sourcePane()->editor()->selectedText(),
                 QStringLiteral("<input type=\"text\" name=\"quantity\">"));
        m_f.window->action(CommandId::SourcePane)->trigger();
    }

    // A phone photo shown small, turned by its orientation, telling where it was taken.
    void aPhoneSizedPictureIsFound()
    {
        const QString photo = m_dir.filePath("phone.jpg");
        QVERIFY(QProcess::execute("vips", {"black", photo, "2000", "1000", "--bands", "3"}) == 0);
        QVERIFY(QProcess::execute("exiftool",
                                  {"-q", "-overwrite_original", "-n", "-Orientation=6",
                                   "-GPSLatitude=35.6", "-GPSLongitude=139.7", photo}) == 0);
        writeBytes(m_dir.filePath("phone.htm"),
                   "<!DOCTYPE html>\n<html lang=ja><head><title>t</title></head><body>\n"
                   "<p><img src=phone.jpg alt=写真 width=400 height=800></p>\n</body></html>\n");
        QSignalSpy checked(controller(), &PageCheckController::checked);
        QVERIFY(loadAndWait(editor(), m_dir.filePath("phone.htm")));
        QVERIFY(test::waitFor([&] { return !checked.isEmpty(); }, 10000));
        QCOMPARE(
            rows().filter(QRegularExpression("^画像 ")),
            QStringList({"画像 3 IMG 表示の大きさよりずっと大きな画像です(幅 1000 ピクセルを "
                         "400 で表示): phone.jpg",
                         "画像 3 IMG EXIF の向きの情報で回転させて見せる画像です(向きを読まない"
                         "ところでは横倒しになります): phone.jpg",
                         "画像 3 IMG 位置情報が含まれています(撮影した場所を誰でも読めます): "
                         "phone.jpg"}));
    }

    void aCleanPageHasNothingToReport()
    {
        QVERIFY(openAndWaitForCheck("clean.htm"));
        QCOMPARE(rows(), QStringList());
        QCOMPARE(status(), QStringLiteral("問題は見つかりませんでした"));
    }
};

LUMIPAGE_TEST_MAIN(TestPageCheck)
#include "tst_pagecheck.moc"
