// The shared form pieces and the element dialogs on their own: no main window, no page.
#include "support/dialogdriver.h"
#include "support/scripteddialogs.h"
#include "support/testsupport.h"

#include "dialogs/elements/buttondialog.h"
#include "dialogs/elements/floatingframedialog.h"
#include "dialogs/elements/marqueedialog.h"
#include "dialogs/elements/ruledialog.h"
#include "dialogs/elements/selectitemsdialog.h"
#include "platform/desktop/dialogform.h"
#include "widgets/actioncombo.h"
#include "widgets/colourfield.h"
#include "widgets/randomidfield.h"
#include "widgets/transitionbox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

using namespace lumipage;
using namespace lumipage::test;

class TestWidgets : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder; // the program folder: no palette page, which the views bear

private slots:
    void transitionBoxShowsTheChosenName()
    {
        QWidget parent;
        TransitionBox box("Combo1", "Text2", &parent);
        QComboBox *number = parent.findChild<QComboBox *>("Combo1");
        QLineEdit *name = parent.findChild<QLineEdit *>("Text2");
        QVERIFY(number && name);
        QCOMPARE(number->count(), 24);
        QCOMPARE(number->itemText(23), QStringLiteral("23"));
        QCOMPARE(box.text(), QStringLiteral("0"));
        QCOMPARE(name->text(), QStringLiteral("Box in"));
        QVERIFY(!name->isEnabled());

        number->setCurrentIndex(19);
        emit number->activated(19);
        QCOMPARE(name->text(), QStringLiteral("Strips rigt down"));
        // Typing does not change the name, yet the number follows the text.
        number->setEditText("7");
        QCOMPARE(name->text(), QStringLiteral("Strips rigt down"));
        QCOMPARE(box.number(), std::optional<qint16>(7));
        // Emptied, it shows "0" again.
        QStringList seen;
        connect(&box, &TransitionBox::textChanged, this, [&](const QString &t) { seen << t; });
        number->setEditText(QString());
        QCOMPARE(box.text(), QStringLiteral("0"));
        QCOMPARE(seen, QStringList{"0"});
        number->setEditText("abc");
        QVERIFY(!box.number());
    }

    void randomIdFieldDrawsOnceAndCanBeScripted()
    {
        QWidget parent;
        RandomIdField scripted(
            "Text3", [] { return 42; }, &parent);
        QCOMPARE(scripted.objectName(), QStringLiteral("Text3"));
        QCOMPARE(scripted.text(), QStringLiteral("42"));
        QCOMPARE(scripted.number(), 42);
        QCOMPARE(scripted.effectId(), QStringLiteral("VELD42"));
        QVERIFY(!scripted.isEnabled());
        for (int i = 0; i < 20; ++i) {
            RandomIdField drawn("Text3", {}, &parent);
            QVERIFY(drawn.number() >= 0 && drawn.number() <= 99);
            QCOMPARE(drawn.text(), QString::number(drawn.number()));
        }
        const IdDraw draw = clockSeededDraw();
        for (int i = 0; i < 50; ++i) {
            const int id = draw();
            QVERIFY(id >= 0 && id <= 99);
        }
    }

    void actionComboOffersNoneAndScript()
    {
        QWidget parent;
        ActionCombo action("Combo1", &parent);
        QCOMPARE(action.count(), 2);
        QCOMPARE(action.itemText(0), QStringLiteral("なし"));
        QCOMPARE(action.itemText(1), QStringLiteral("あり"));
        QCOMPARE(action.currentText(), QStringLiteral("なし"));
        QVERIFY(!action.withScript());
        action.setCurrentIndex(1);
        QVERIFY(action.withScript());
        action.setEditText("あり ");
        QVERIFY(!action.withScript());
    }

    void colourFieldSwatchShowsThatAColourIsSet()
    {
        QWidget parent;
        ColourField field("Text1", "Command1", "Command2", &parent);
        auto *swatch = parent.findChild<QPushButton *>("Command1");
        auto *marker = parent.findChild<QPushButton *>("Command2");
        QVERIFY(swatch && marker);
        QVERIFY(marker->isHidden());
        QVERIFY(swatch->styleSheet().isEmpty());
        field.box()->setText("r");
        QVERIFY(swatch->styleSheet().contains("255, 0, 0"));
        swatch->click();
        QVERIFY(field.text().isEmpty());
        QVERIFY(swatch->styleSheet().isEmpty());
        ColourField bare("Text3", "Command3", QString(), &parent);
        QCOMPARE(parent.findChildren<QPushButton *>().size(), 3);
    }

    void formRowsPutLabelFieldAndHint()
    {
        QDialog dialog;
        DialogForm form(&dialog, "FormX", "caption");
        QLineEdit *line = form.row("label", form.lineEdit("Text1", "t"), "hint");
        QComboBox *combo = form.row("combo", form.comboBox("Combo1", {"a", "b"}, "b"));
        QCOMPARE(dialog.objectName(), QStringLiteral("FormX"));
        QCOMPARE(line->text(), QStringLiteral("t"));
        QCOMPARE(combo->currentText(), QStringLiteral("b"));
        QVERIFY(combo->isEditable());
        // Laid out as a user reads it: the label before its field, the hint after it.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QStringList labels;
        for (QLabel *label : dialog.findChildren<QLabel *>()) {
            labels << label->text();
            if (label->text() == "label")
                QVERIFY(label->geometry().right() < line->geometry().left());
            if (label->text() == "hint")
                QVERIFY(label->geometry().left() > line->geometry().right());
        }
        labels.sort();
        QCOMPARE(labels, (QStringList{"combo", "hint", "label"}));
    }

    void marqueeDialogHandsBackItsFragment()
    {
        MarqueeDialog dialog(nullptr);
        DialogDriver driver(dialog);
        QCOMPARE(driver.text("Text1"), QStringLiteral("Infinite"));
        QVERIFY(driver.fill("Combo1", "Slide"));
        QVERIFY(driver.fill("Combo2", "Right"));
        QVERIFY(driver.fill("Text2", "80"));
        QVERIFY(driver.fill("Text3", "4"));
        QVERIFY(driver.accept("Command1"));
        QCOMPARE(dialog.built(),
                 BuildResult::fragment("<MARQUEE BEHAVIOR=Slide DIRECTION=Right SCROLLDELAY=80 "
                                       "SCROLLAMOUNT=4 LOOP=Infinite>文字を入力してください。"
                                       "</MARQUEE>"));
    }

    void cancelHandsBackNothing()
    {
        MarqueeDialog dialog(nullptr);
        DialogDriver driver(dialog);
        QVERIFY(driver.press("Command2"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.built(), BuildResult::nothing());
    }

    void buttonDialogShowsItsProblemAndStays()
    {
        ScriptedCommonDialog common;
        ButtonDialog dialog(common, nullptr);
        DialogDriver driver(dialog);
        auto texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(!driver.accept("Command2")); // no event chosen
        QTRY_COMPARE(*texts, QStringList{"未入力個所があります！"});
        QVERIFY(dialog.isVisible());

        QVERIFY(driver.fill("Combo1", "onclick"));
        QVERIFY(driver.choose("Combo2", "ｼﾞｬﾝﾌﾟ"));
        QVERIFY(driver.enabled("Command1"));
        common.files.enqueue("/site/next.htm");
        QVERIFY(driver.press("Command1"));
        QCOMPARE(driver.text("Text2"), QStringLiteral("/site/next.htm"));
        QCOMPARE(common.flags, 6144);
        QVERIFY(driver.accept("Command2"));
        QCOMPARE(dialog.built(),
                 BuildResult::fragment("<BUTTON TITLE=Button LANGUAGE=VBSCRIPT "
                                       "onclick='Window.location.href=\"/site/next.htm\"'>"
                                       "タイトル</BUTTON>"));
    }

    void buttonDialogWithAnUnknownActionClosesWithNothing()
    {
        ScriptedCommonDialog common;
        ButtonDialog dialog(common, nullptr);
        DialogDriver driver(dialog);
        QVERIFY(driver.fill("Combo1", "onclick"));
        QVERIFY(driver.fill("Combo2", "Beep"));
        QVERIFY(driver.accept("Command2"));
        QCOMPARE(dialog.built(), BuildResult::nothing());
    }

    void floatingFrameAndRuleAndSelectItems()
    {
        ScriptedCommonDialog common;
        {
            FloatingFrameDialog dialog(common, nullptr);
            DialogDriver driver(dialog);
            QVERIFY(!driver.enabled("Command2"));
            QVERIFY(driver.fill("Text1", "menu.htm"));
            QVERIFY(driver.fill("Combo1", "なし"));
            QVERIFY(driver.accept("Command2"));
            QCOMPARE(dialog.built().text,
                     QStringLiteral("<IFRAME FRAMEBORDER=0 SRC=\"menu.htm\"></IFRAME>"));
        }
        {
            RuleDialog dialog(m_folder.path(), nullptr);
            DialogDriver driver(dialog);
            QCOMPARE(driver.text("Text3"), QStringLiteral("silver"));
            QVERIFY(driver.fill("Combo1", "少し"));
            QVERIFY(!driver.accept("Command1")); // an unknown shading text: nothing happens
            QVERIFY(dialog.isVisible());
            QVERIFY(driver.fill("Combo1", "なし"));
            QVERIFY(driver.accept("Command1"));
            QCOMPARE(dialog.built().text,
                     QStringLiteral(
                         "<HR WIDTH=\"100%\"SIZE=\"2\"noshade COLOR=\"silver\"ALIGN=center>"));
        }
        {
            SelectItemsDialog dialog(nullptr);
            DialogDriver driver(dialog);
            for (const char *item : {"A", "B"}) {
                QVERIFY(driver.fill("Text1", QString::fromUtf8(item)));
                QVERIFY(driver.press("Command1"));
            }
            QVERIFY(driver.accept("Command2"));
            QCOMPARE(
                dialog.built().text,
                QStringLiteral("<SELECT><OPTION>A</OPTION>\r\n<OPTION>B</OPTION>\r\n</SELECT>"));
        }
    }
};

LUMIPAGE_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
