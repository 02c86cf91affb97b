// The eight effect dialogs as widgets: controls and defaults, enable rules, swatches,
// messages, and the request each hands back.
#include "support/dialogdriver.h"
#include "support/scripteddialogs.h"
#include "support/testsupport.h"

#include "dialogs/effects/alphatextdialog.h"
#include "dialogs/effects/blendimagedialog.h"
#include "dialogs/effects/colourbuttonsdialog.h"
#include "dialogs/effects/glowtextdialog.h"
#include "dialogs/effects/revealimagedialog.h"
#include "dialogs/effects/revealtextdialog.h"
#include "dialogs/effects/shadowtextdialog.h"
#include "dialogs/effects/wavetextdialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace lumipage;
using namespace lumipage::test;

namespace
{

const QColor kRed(255, 0, 0);
const IdDraw drawn42 = [] { return 42; };
const QString kSite = QStringLiteral("/home/user/site");

// The colour a swatch or add button shows.
QColor colourOf(QDialog &dialog, const char *button)
{
    auto *found = dialog.findChild<QPushButton *>(QLatin1String(button));
    return found ? found->palette().color(QPalette::Button) : QColor();
}

QString labelText(QDialog &dialog, const char *name)
{
    auto *label = dialog.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("(none)");
}

int listCount(QDialog &dialog)
{
    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("List1"));
    return list ? list->count() : -1;
}

} // namespace

class TestEffectDialogs : public QObject
{
    Q_OBJECT

    ScriptedCommonDialog m_files;
    const QString m_programFolder = QCoreApplication::applicationDirPath();

private slots:
    void revealText()
    {
        RevealTextDialog dialog(m_programFolder, nullptr);
        DialogDriver d(dialog);
        QCOMPARE(dialog.objectName(), QStringLiteral("Form6"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("RevealTransition設定画面"));
        QCOMPARE(
            (QStringList{d.text("Combo1"), d.text("Text2"), d.text("Combo2"), d.text("Text1")}),
            (QStringList{"0", "Box in", "center", "WHITE"}));
        QVERIFY(!d.enabled("Text2"));
        QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("WebBrowser1")));
        QVERIFY(d.choose("Combo1", "20"));
        QCOMPARE(d.text("Text2"), QStringLiteral("Strips rigt up"));
        // Typing does not rename, and an emptied box comes back as "0".
        QVERIFY(d.fill("Combo1", ""));
        QCOMPARE(d.text("Combo1"), QStringLiteral("0"));
        QVERIFY(d.fill("Combo1", "7"));
        QCOMPARE(d.text("Text2"), QStringLiteral("Strips rigt up"));
        QVERIFY(d.fill("Combo2", "right"));
        QVERIFY(d.accept("Command2"));
        QCOMPARE(dialog.request().fragment,
                 QStringLiteral("<DIV id=veld style=\"width:100%;filter:revealtrans(transition=7,"
                                "duration=3);text-align:right;background-color:WHITE;"
                                "visibility:hidden\">文字を入力</DIV>"));
        QVERIFY(dialog.request().withScript);
    }

    void transitionOutOfRangeKeepsTheDialogOpen_data()
    {
        QTest::addColumn<QString>("number");
        QTest::newRow("24") << "24";
        QTest::newRow("not a number") << "Box in";
    }
    void transitionOutOfRangeKeepsTheDialogOpen()
    {
        QFETCH(QString, number);
        RevealImageDialog dialog(m_files, {}, nullptr);
        DialogDriver d(dialog);
        QVERIFY(d.fill("Text1", "a.gif"));
        QVERIFY(d.fill("Combo2", number));
        const auto texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(d.press("Command2"));
        QCOMPARE(*texts, QStringList{"Transitionは0から23までの整数で指定してください。"});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.request(), EffectRequest{});
    }

    void revealImage()
    {
        m_files.files.enqueue(kSite + "/img/a.gif");
        RevealImageDialog dialog(m_files, kSite, nullptr);
        DialogDriver d(dialog);
        QCOMPARE(dialog.objectName(), QStringLiteral("Form7"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("イメージTransition設定画面"));
        QCOMPARE(d.text("Text3"), QStringLiteral("Box in"));
        QVERIFY(d.press("Command1"));
        QCOMPARE(d.text("Text1"), kSite + "/img/a.gif");
        QVERIFY(d.press("Command1")); // cancelled: the box keeps its file
        QCOMPARE(d.text("Text1"), kSite + "/img/a.gif");
        QVERIFY(d.fill("Combo2", "12"));
        QCOMPARE(d.text("Text3"), QStringLiteral("Box in"));
        QVERIFY(d.accept("Command2"));
        QCOMPARE(
            dialog.request().fragment,
            QStringLiteral("<IMG id=veldimage SRC=\"img/a.gif\"ALT=\"\"style=\"filter:"
                           "revealtrans(transition=12,duration=3);visibility:hidden\"></DIV>"));
    }

    void shadowText()
    {
        ShadowTextDialog dialog(m_programFolder, drawn42, nullptr);
        DialogDriver d(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("影付き文字設定"));
        QCOMPARE((QStringList{d.text("Text1"), d.text("Text2"), d.text("Text3"), d.text("Combo1")}),
                 (QStringList{"", "10", "42", "なし"}));
        QVERIFY(!d.enabled("Text3"));
        QVERIFY(dialog.findChild<QWidget *>(QStringLiteral("Image1")));
        // OK only with a colour; the swatch shows it is set and empties the box.
        QVERIFY(!d.enabled("Command3"));
        QCOMPARE(colourOf(dialog, "Command1"), dialog.palette().color(QPalette::Button));
        QVERIFY(d.fill("Text1", "r"));
        QVERIFY(d.enabled("Command3"));
        QCOMPARE(colourOf(dialog, "Command1"), kRed);
        QVERIFY(d.press("Command1"));
        QCOMPARE(d.text("Text1"), QString());
        QVERIFY(!d.enabled("Command3"));
        QVERIFY(d.fill("Text1", "red"));
        QVERIFY(d.choose("Combo1", "あり"));
        QVERIFY(d.accept("Command3"));
        const EffectRequest request = dialog.request();
        QCOMPARE(request.fragment,
                 QStringLiteral("<DIV ID=VELD42 STYLE=\"width:100%;Filter:Shadow("
                                "Color=red,Direction=10)\">ここに文字を入力</DIV>"));
        QCOMPARE(request.effectId, QStringLiteral("VELD42"));
        QVERIFY(request.withScript);
    }

    void waveText()
    {
        WaveTextDialog dialog(drawn42, nullptr);
        DialogDriver d(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("波付き文字設定"));
        QCOMPARE((QStringList{d.text("Text1"), d.text("Text2"), d.text("Text3"), d.text("Text4")}),
                 (QStringList{"5", "10", "20", "42"}));
        QVERIFY(d.fill("Text1", ""));
        QVERIFY(!d.enabled("Command1"));
        QVERIFY(d.fill("Text1", "8"));
        QVERIFY(d.accept("Command1"));
        QVERIFY(!dialog.request().withScript);
        QVERIFY(dialog.request().fragment.contains("Wave(strength=8,freq=10,lightstrength=20)"));
    }

    void waveUnknownActionClosesWithoutRequest()
    {
        WaveTextDialog dialog(drawn42, nullptr);
        DialogDriver d(dialog);
        QVERIFY(d.fill("Combo1", "たぶん"));
        QVERIFY(d.press("Command1"));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void glowText()
    {
        GlowTextDialog dialog(
            m_programFolder, [] { return 7; }, nullptr);
        DialogDriver d(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("燃える文字設定"));
        QCOMPARE(d.text("Text1"), QStringLiteral("RED"));
        QVERIFY(d.enabled("Command1"));
        QCOMPARE(colourOf(dialog, "Command3"), kRed);
        QVERIFY(d.press("Command3"));
        QVERIFY(!d.enabled("Command1"));
        QCOMPARE(colourOf(dialog, "Command3"), dialog.palette().color(QPalette::Button));
        QVERIFY(d.fill("Text1", "RED"));
        QVERIFY(d.accept("Command1"));
        QCOMPARE(dialog.request().fragment,
                 QStringLiteral("<DIV ID=VELD7 STYLE=\"width:100%;Filter:Glow(strength=5,"
                                "Color=RED)\">ここに文字を入力</DIV>"));
    }

    void alphaText()
    {
        AlphaTextDialog dialog(drawn42, nullptr);
        DialogDriver d(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("消える文字設定"));
        QCOMPARE((QStringList{d.text("Text1"), d.text("Combo1"), d.text("Combo2")}),
                 (QStringList{"90", "円形", "なし"}));
        QVERIFY(d.fill("Text1", ""));
        QVERIFY(!d.enabled("Command1"));
        QVERIFY(d.fill("Text1", "40"));
        // A style none of the three is refused with a message; the dialog stays.
        QVERIFY(d.fill("Combo1", "楕円"));
        const auto texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(d.press("Command1"));
        QCOMPARE(*texts,
                 QStringList{"ｽﾀｲﾙは「線形」「円形」「長方形」のいずれかを選んでください。"});
        QVERIFY(dialog.isVisible());
        QVERIFY(d.choose("Combo1", "長方形"));
        QVERIFY(d.accept("Command1"));
        QVERIFY(dialog.request().fragment.contains("Alpha(opacity=40,style=3)"));
    }

    void eachOpeningDrawsAFreshId()
    {
        // The draw is seeded from the clock at each opening: openings a moment apart
        // show different ids, each from 0 to 99.
        QSet<int> seen;
        const auto open = [&seen] {
            AlphaTextDialog dialog({}, nullptr);
            seen.insert(dialog.findChild<QLineEdit *>(QStringLiteral("Text2"))->text().toInt());
            return seen.size() > 1;
        };
        QTRY_VERIFY_WITH_TIMEOUT(open(), 5000);
        for (const int id : seen)
            QVERIFY(id >= 0 && id <= 99);
    }

    void colourButtonsEnableRules()
    {
        ColourButtonsDialog dialog(m_files, m_programFolder, {}, nullptr);
        DialogDriver d(dialog);
        QCOMPARE(dialog.windowTitle(),
                 QStringLiteral("文字色設定(10項目以上の設定は出来ません。)"));
        QCOMPARE((QStringList{d.text("Combo1"), d.text("Combo2"), d.text("Combo3")}),
                 (QStringList{"ＭＳ Ｐ明朝", "9", ""}));
        for (const char *name : {"Combo3", "Command5", "Command3", "Command4", "Command1"})
            QVERIFY2(!d.enabled(name), name);
        QVERIFY(d.fill("Text3", "Home"));
        QVERIFY(d.enabled("Combo3") && d.enabled("Command5") && d.enabled("Command1"));
        QVERIFY(!d.enabled("Command3"));
        QVERIFY(d.choose("Combo3", "ﾘﾝｸ"));
        QCOMPARE(d.text("Text4"), QStringLiteral("http://"));
        QVERIFY(d.enabled("Command3"));
        QCOMPARE(colourOf(dialog, "Command3"), kRed);
        QVERIFY(d.choose("Combo3", "ｼﾞｬﾝﾌﾟ"));
        QCOMPARE(d.text("Text4"), QString());
        QVERIFY(!d.enabled("Command3"));
        QCOMPARE(colourOf(dialog, "Command3"), dialog.palette().color(QPalette::Button));
        QVERIFY(d.fill("Text3", ""));
        QVERIFY(!d.enabled("Combo3") && !d.enabled("Command5"));
    }

    void colourButtonsAddUpToTen()
    {
        m_files.files.enqueue(kSite + "/b.htm");
        ColourButtonsDialog dialog(m_files, m_programFolder, kSite, nullptr);
        DialogDriver d(dialog);
        QVERIFY(d.fill("Text1", "blue") && d.fill("Text2", "red"));
        QVERIFY(d.fill("Text3", "Home") && d.fill("Text4", "http://example.com/"));
        QVERIFY(d.press("Command3"));
        QCOMPARE(d.text("Text3") + d.text("Text4"), QString());
        QCOMPARE(labelText(dialog, "Label4"), QStringLiteral("1"));
        QVERIFY(d.fill("Text3", "B"));
        QVERIFY(d.press("Command5"));
        QVERIFY(d.press("Command3"));
        for (int i = 2; i < 10; ++i) {
            QVERIFY(d.fill("Text4", QStringLiteral("t%1.htm").arg(i)));
            QVERIFY(d.press("Command3"));
        }
        QCOMPARE(listCount(dialog), 10);
        QVERIFY(d.fill("Text4", "x.htm"));
        const auto texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(d.press("Command3"));
        QCOMPARE(*texts, QStringList{"10項目以上は設定できません。"});
        QCOMPARE(listCount(dialog), 10);
        QCOMPARE(labelText(dialog, "Label4"), QStringLiteral("10"));
        QVERIFY(d.accept("Command1"));
        const EffectRequest request = dialog.request();
        QCOMPARE(request.fragment.count("<Button ID=VELD"), 10);
        QVERIFY(request.fragment.startsWith("<Button ID=VELD0 "));
        QVERIFY(request.fragment.contains(">Home</Button><Button ID=VELD1 "));
        QVERIFY(request.fragment.endsWith("Color:blue;\"></Button>"));
        QCOMPARE(request.linkTargets[0], QStringLiteral("http://example.com/"));
        QCOMPARE(request.linkTargets[1], QStringLiteral("b.htm"));
        QCOMPARE(request.linkTargets[9], QStringLiteral("t9.htm"));
        QCOMPARE(request.color1 + request.color2, QStringLiteral("bluered"));
    }

    void colourButtonsRemoveAllThenOk()
    {
        ColourButtonsDialog dialog(m_files, m_programFolder, {}, nullptr);
        DialogDriver d(dialog);
        QVERIFY(d.fill("Text3", "Home") && d.fill("Text4", "a.htm"));
        QVERIFY(d.press("Command3"));
        QVERIFY(d.press("Command4"));
        QCOMPARE(listCount(dialog), 0);
        const auto texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(d.press("Command1"));
        QCOMPARE(*texts, QStringList{"設定項目がありません！"});
        QVERIFY(dialog.isVisible());
        QVERIFY(d.fill("Text4", "b.htm"));
        QVERIFY(d.press("Command3"));
        QVERIFY(d.accept("Command1"));
        QVERIFY(dialog.request().fragment.startsWith("<Button ID=VELD0 "));
        QCOMPARE(dialog.request().fragment.count("<Button"), 1);
    }

    void blendImage()
    {
        BlendImageDialog dialog(m_files, {}, drawn42, nullptr);
        DialogDriver d(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("BlendFilter設定画面"));
        QCOMPARE(d.text("Text3"), QStringLiteral("image42"));
        QVERIFY(!d.enabled("Text3"));
        QVERIFY(d.fill("Text1", "a.gif"));
        const auto texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(d.press("Command3"));
        QCOMPARE(*texts, QStringList{"画像が指定されていません！"});
        QVERIFY(dialog.isVisible());
        m_files.files.enqueue(QStringLiteral("b.gif"));
        QVERIFY(d.press("Command2"));
        QVERIFY(d.accept("Command3"));
        const EffectRequest request = dialog.request();
        QCOMPARE(request.fragment, QStringLiteral("<IMG ID=image42 SRC=\"a.gif\" "
                                                  "STYLE=\"Filter:blendtrans(duration=3)\">"));
        QCOMPARE((QStringList{request.effectId, request.image1, request.image2}),
                 (QStringList{"image42", "a.gif", "b.gif"}));
    }

    void blendCancelEmptiesTheImages()
    {
        BlendImageDialog dialog(m_files, {}, drawn42, nullptr);
        DialogDriver d(dialog);
        QVERIFY(d.fill("Text1", "a.gif") && d.fill("Text2", "b.gif"));
        QVERIFY(d.press("Command4"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(d.text("Text1") + d.text("Text2"), QString());
        QCOMPARE(dialog.request(), EffectRequest{});
    }
};

LUMIPAGE_TEST_MAIN(TestEffectDialogs)
#include "tst_effectdialogs.moc"
