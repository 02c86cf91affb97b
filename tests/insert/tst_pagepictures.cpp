// ページの画像を最適化… on a real page: which pictures it lists, copies put in place of
// the ticked ones as one undo step, and nothing left behind by a cancel.
#include "support/testsupport.h"

#include "insert/pagepictures.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace lumipage;
using namespace lumipage::test;

class TestPagePictures : public QObject
{
    Q_OBJECT

    static bool writePicture(const QString &path, int width, int height)
    {
        return QProcess::execute("vips", {"black", path, QString::number(width),
                                          QString::number(height), "--bands", "3"}) == 0;
    }

private slots:
    void tickedPicturesBecomeWebCopiesInOneStep()
    {
        QTemporaryDir dir;
        QVERIFY(writePicture(dir.filePath("big.jpg"), 2400, 1800));
        QVERIFY(writePicture(dir.filePath("linked.jpg"), 2400, 1800));
        QVERIFY(writePicture(dir.filePath("small.png"), 100, 100));
        const QString body =
            QStringLiteral("<P><IMG src=big.jpg width=400 height=300><A href=linked.jpg><IMG "
                           "src=linked.jpg width=400 height=300></A><IMG src=small.png width=50 "
                           "height=50><IMG src=big.jpg width=300 height=225></P>");
        writeBytes(dir.filePath("page.htm"), ("<HTML><BODY>" + body + "</BODY></HTML>").toUtf8());
        const QStringList before = QDir(dir.path()).entryList(QDir::Files, QDir::Name);

        // The photo linked in full keeps its name; one shown twice counts at its widest.
        const QList<PagePicture> found = pagePictures(body, dir.path());
        QCOMPARE(found.size(), 2);
        QCOMPARE(found.at(0).source, QStringLiteral("big.jpg"));
        QCOMPARE(found.at(0).shownWidth, 400);
        QCOMPARE(found.at(0).suggestion.width, 800);
        QVERIFY(found.at(0).suggestion.offer);
        QCOMPARE(found.at(1).source, QStringLiteral("small.png"));
        QVERIFY(!found.at(1).suggestion.offer);

        auto editor = shownEditor();
        QWidget window;
        QVERIFY(loadAndWait(*editor, dir.filePath("page.htm")));
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("pagePicturesDialog"));
            w->findChild<QPushButton *>("pagePicturesCancel")->click();
        });
        optimizePagePictures(*editor, window);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), before);
        QCOMPARE(bodyOf(*editor), body);

        answerNextModal([](QWidget *w) {
            auto *ok = w->findChild<QPushButton *>("pagePicturesOk");
            QTRY_VERIFY_WITH_TIMEOUT(ok->isEnabled(), 20000);
            auto *list = w->findChild<QTreeWidget *>("pagePicturesList");
            QCOMPARE(list->topLevelItem(0)->checkState(0), Qt::Checked);
            QCOMPARE(list->topLevelItem(1)->checkState(0), Qt::Unchecked);
            QVERIFY(list->topLevelItem(0)->text(3).startsWith(QStringLiteral("800×600、")));
            ok->click();
        });
        optimizePagePictures(*editor, window);
        QCOMPARE(bodyOf(*editor), QString(body).replace("src=big.jpg", "src=big-800.jpg"));
        // The unticked picture's copy is gone again.
        QStringList expected = before + QStringList{"big-800.jpg"};
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
        QVERIFY(editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(bodyOf(*editor), body);
    }
};

LUMIPAGE_TEST_MAIN(TestPagePictures)
#include "tst_pagepictures.moc"
