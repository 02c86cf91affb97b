// The editing surface's own dialogs: find, font and image, their request builders, and
// what they do to a real page.
#include "support/scripteddialogs.h"
#include "support/testsupport.h"

#include "platform/editing/dialogs/fontrequest.h"
#include "fragments/imagemarkup.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace lumipage;
using namespace lumipage::test;

class TestSurfaceDialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;
    ScriptedCommonDialog m_common;

    QString body() { return bodyOf(*m_editor); }
    QString selected() { return m_editor->call("selectedText").value.toString(); }

private slots:
    void initTestCase()
    {
        m_editor = shownEditor();
        m_editor->setCommonDialog(&m_common);
    }
    void cleanupTestCase() { m_editor.reset(); }

    void fontRequestHoldsOnlyWhatChanges_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("color");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing changed") << "3"
                                         << "rgb(0, 0, 0)" << false << "{}";
        QTest::newRow("size and name colour")
            << "5"
            << "red" << false << R"({"color":"#ff0000","size":5})";
        QTest::newRow("bold only") << ""
                                   << "" << true << R"({"bold":true})";
        QTest::newRow("size 0") << "0"
                                << "" << false << "size";
        QTest::newRow("size 8") << "8"
                                << "" << false << "size";
        QTest::newRow("size text") << "big"
                                   << "" << false << "size";
        QTest::newRow("bad colour") << ""
                                    << "#12" << false << "colour";
    }
    void fontRequestHoldsOnlyWhatChanges()
    {
        QFETCH(QString, size);
        QFETCH(QString, color);
        QFETCH(bool, bold);
        QFETCH(QString, expected);
        const FontFields current{"serif", "3", "rgb(0, 0, 0)", false, false, false};
        const FontRequest made = fontRequest({"serif", size, color, bold, false, false}, current);
        if (expected == "size")
            QCOMPARE(made.problem, QStringLiteral("サイズは1から7までの数字で指定してください。"));
        else if (expected == "colour")
            QCOMPARE(made.problem,
                     QStringLiteral("色は #RRGGBB の形か色の名前で指定してください。"));
        else
            QCOMPARE(QJsonDocument(made.request).toJson(QJsonDocument::Compact), expected.toUtf8());
    }

    void imageMarkupAndItsChecks()
    {
        ImageFields fields{"/site/img/a b.png", "say \"hi\"", "left", "0", "4", ""};
        QCOMPARE(imageProblem(fields), QString());
        QCOMPARE(
            imageMarkup(fields, "/site"),
            QStringLiteral("<IMG src=\"img/a b.png\" alt=\"say &quot;hi&quot;\" align=\"left\" "
                           "border=\"0\" hspace=\"4\">"));
        // Outside the page's folder, or for a new page, the name stays as chosen.
        QCOMPARE(imageAttributes(fields, "/other").first().second,
                 QStringLiteral("/site/img/a b.png"));
        QCOMPARE(imageAttributes(fields, "").first().second, QStringLiteral("/site/img/a b.png"));
        QCOMPARE(imageProblem({"", "", "", "", "", ""}),
                 QStringLiteral("画像のファイル名またはURLを指定してください。"));
        QCOMPARE(imageProblem({"a.png", "", "", "1px", "", ""}),
                 QStringLiteral("枠線は0から999までの数字で指定してください。"));
        QCOMPARE(imageProblem({"a.png", "", "", "", "", "-1"}),
                 QStringLiteral("縦の間隔は0から999までの数字で指定してください。"));
    }

    void findNextWrapsAndReportsNotFound()
    {
        QVERIFY(setBody(*m_editor, "<P id=p>Apple apple pineapple</P><P id=q>APPLE</P>"));
        QVERIFY(selectIn(*m_editor, "p", 0, 0));
        auto seen = std::make_shared<QStringList>();
        answerNextModal([this, seen](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("FindDialog"));
            auto *next = w->findChild<QPushButton *>("findNext");
            QVERIFY(!next->isEnabled()); // nothing to find yet
            w->findChild<QLineEdit *>("findText")->setText("apple");
            w->findChild<QCheckBox *>("wholeWord")->setChecked(true);
            for (int i = 0; i < 4; ++i) {
                next->click();
                *seen << selected();
            }
            w->findChild<QCheckBox *>("matchCase")->setChecked(true);
            w->findChild<QRadioButton *>("directionUp")->setChecked(true);
            next->click();
            *seen << selected();
            w->findChild<QLineEdit *>("findText")->setText("banana");
            answerNextModal(
                [seen](QWidget *box) {
                    *seen << qobject_cast<QMessageBox *>(box)->text();
                    qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->click();
                },
                w);
            next->click();
            w->findChild<QPushButton *>("closeButton")->click();
        });
        m_editor->ExecCommand(decmd::FINDTEXT, CommandOption::Default);
        QCOMPARE(*seen, QStringList({"Apple", "apple", "APPLE", "Apple", "apple",
                                     "「banana」が見つかりません。"}));
    }

    void fontDialogAppliesToTheSelectionInOneStep()
    {
        QVERIFY(setBody(*m_editor, "<P id=p>abc def</P>"));
        const QString before = body();
        QVERIFY(selectIn(*m_editor, "p", 0, 3));
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("FontDialog"));
            auto *size = w->findChild<QComboBox *>("fontSize");
            QCOMPARE(size->currentText(), QStringLiteral("3"));
            size->setEditText("9");
            answerNextModal(
                [size](QWidget *box) {
                    qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->click();
                    size->setEditText("5");
                    size->window()->findChild<QLineEdit *>("fontColor")->setText("#0000ff");
                    size->window()->findChild<QCheckBox *>("fontBold")->setChecked(true);
                    size->window()->findChild<QPushButton *>("fontOk")->click();
                },
                w);
            w->findChild<QPushButton *>("fontOk")->click();
        });
        QVERIFY(m_editor->ExecCommand(decmd::FONT, CommandOption::Default));
        QVERIFY2(body().contains("<FONT size=5 color=#0000ff><B>abc</B></FONT> def") ||
                     body().contains("<B><FONT size=5 color=#0000ff>abc</FONT></B> def"),
                 qPrintable(body()));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), before);
        // A cancel changes nothing.
        answerNextModal([](QWidget *w) { w->findChild<QPushButton *>("fontCancel")->click(); });
        QVERIFY(!m_editor->ExecCommand(decmd::FONT, CommandOption::Default));
        QCOMPARE(body(), before);
    }

    void imageDialogInsertsAndEditsTheSelectedImage()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("page.htm"), "<HTML><BODY><P id=p>before after</P></BODY></HTML>");
        QVERIFY(loadAndWait(*m_editor, dir.filePath("page.htm")));
        QVERIFY(selectIn(*m_editor, "p", 7, 7));
        m_common.files.enqueue(dir.filePath("img/pic.png"));
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("ImageDialog"));
            w->findChild<QPushButton *>("imageBrowse")->click();
            w->findChild<QLineEdit *>("imageAlt")->setText("a picture");
            w->findChild<QLineEdit *>("imageBorder")->setText("0");
            w->findChild<QPushButton *>("imageOk")->click();
        });
        QVERIFY(m_editor->ExecCommand(decmd::IMAGE, CommandOption::Prompt));
        QVERIFY2(body().contains("<IMG src=img/pic.png alt=\"a picture\" border=0>after"),
                 qPrintable(body()));

        // The selected image is edited in place and keeps what the dialog does not show.
        QVERIFY(setBody(*m_editor, "<P><IMG id=i src=old.png style=\"left: 3px\"></P>"));
        QVERIFY(m_editor->call("selectObject", {"i"}).ok);
        answerNextModal([](QWidget *w) {
            QCOMPARE(w->findChild<QLineEdit *>("imageSource")->text(), QStringLiteral("old.png"));
            w->findChild<QLineEdit *>("imageSource")->setText("new.png");
            w->findChild<QComboBox *>("imageAlign")->setEditText("right");
            w->findChild<QPushButton *>("imageOk")->click();
        });
        QVERIFY(m_editor->ExecCommand(decmd::IMAGE, CommandOption::Prompt));
        QCOMPARE(body(),
                 QStringLiteral("<P><IMG id=i src=new.png style=\"left: 3px\" align=right></P>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), QStringLiteral("<P><IMG id=i src=old.png style=\"left: 3px\"></P>"));
    }
};

LUMIPAGE_TEST_MAIN(TestSurfaceDialogs)
#include "tst_surfacedialogs.moc"
