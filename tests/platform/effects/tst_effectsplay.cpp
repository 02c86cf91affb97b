// Effects in browse mode, timed: each of the eight effects, inserted through its dialog
// from the effects list of the real main window, plays (the view shows look after look,
// and a reveal ends with its content fully shown); pages that reveal on load play on
// time, timed effects keep changing, and the document the user edits and saves never
// changes. The program runs alone; what needs no timing is in tst_effectsexport.
#include "support/dialogdriver.h"
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/mainwindow.h"
#include "platform/browsing/browsesession.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

namespace
{

using Fill = std::function<void(DialogDriver &)>;

bool isColour(QRgb c, QRgb want)
{
    return qAbs(qRed(c) - qRed(want)) < 40 && qAbs(qGreen(c) - qGreen(want)) < 40 &&
           qAbs(qBlue(c) - qBlue(want)) < 40;
}

} // namespace

class TestEffectsPlay : public QObject
{
    Q_OBJECT

    MainWindowFixture m_f;
    QTemporaryDir m_folder;

    WebEngineEditingComponent &editor() { return m_f.editor(); }
    QWebEngineView *view() { return browseView(editor()); }
    QImage frame() { return view() ? view()->grab().toImage() : QImage(); }

    // The box of the element `id` in the browsed page, in view pixels.
    QRect boxOf(const QString &id)
    {
        const QVariant json = evalInPage(
            view(), QStringLiteral("(() => { const r = document.getElementById('%1')"
                                   ".getBoundingClientRect(); return JSON.stringify({x: r.x, "
                                   "y: r.y, w: r.width, h: r.height}); })()")
                        .arg(id));
        const QJsonObject r = QJsonDocument::fromJson(json.toString().toUtf8()).object();
        return QRect(r["x"].toDouble(), r["y"].toDouble(), r["w"].toDouble(), r["h"].toDouble());
    }

    // How many different looks the view shows from now until `enough` were seen or `ms`
    // passed.
    int distinctLooks(int enough, int ms)
    {
        QSet<QByteArray> seen;
        QElapsedTimer clock;
        clock.start();
        while (seen.size() < enough && clock.elapsed() < ms) {
            const QImage look = frame();
            if (!look.isNull())
                seen.insert(QCryptographicHash::hash(
                    QByteArrayView(look.constBits(), look.sizeInBytes()), QCryptographicHash::Md5));
            QTest::qWait(20);
        }
        return seen.size();
    }

    QRgb browsePixel(int x, int y)
    {
        QWebEngineView *view = browseView(editor());
        return view ? view->grab().toImage().pixel(x, y) : 0;
    }

    // Enters browse mode on a page whose red 200 × 100 box is revealed from its centre on
    // load: the box starts hidden, changes within the effect's time and ends fully shown.
    void browseAndSeeTheReveal()
    {
        editor().setBrowseMode(true);
        QElapsedTimer clock;
        clock.start();
        auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
        // The copy itself, not the view's first, empty document (complete at once): the
        // wait for the centre below is then the reveal's alone.
        QTRY_VERIFY_WITH_TIMEOUT(
            evalInPage(browseView(editor()), QStringLiteral("document.readyState == 'complete' && "
                                                            "!!document.getElementById('veld')")) ==
                QVariant(true),
            10000);
        QTRY_VERIFY_WITH_TIMEOUT(red(browsePixel(100, 50)), 2500);
        QVERIFY2(!red(browsePixel(3, 3)) || clock.elapsed() > 1500,
                 "the corner shows before the centre");
        QTRY_VERIFY_WITH_TIMEOUT(red(browsePixel(3, 3)) && red(browsePixel(196, 96)), 5000);
    }

    void choose(const QString &entry) { QVERIFY(test::choose(*m_f.window->effectsList(), entry)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        // Two pictures beside the page, for the image reveal and the blend.
        QImage picture(120, 90, QImage::Format_RGB32);
        picture.fill(qRgb(220, 0, 0));
        QVERIFY(picture.save(m_folder.filePath("first.png")));
        picture.fill(qRgb(0, 0, 220));
        QVERIFY(picture.save(m_folder.filePath("second.png")));
        // The engine's first view in a run, and its first Japanese text (the large CJK
        // fonts load then), may take seconds to draw: the timed checks must not pay for it.
        BrowseSession warm;
        QWidget window;
        window.resize(100, 100);
        QWebEngineView *view =
            warm.start(m_folder.filePath("warm.htm"), "warm.htm",
                       "<body style='background:rgb(0,200,0)'>文字を入力</body>", &window);
        view->resize(100, 100);
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(isColour(view->grab().toImage().pixel(50, 50), qRgb(0, 200, 0)),
                                 20000);
        delete view;
    }
    void init() { QVERIFY(m_f.reuse()); }
    void cleanupTestCase() { m_f.destroy(); }

    void eachEffectPlaysInBrowseMode_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<Fill>("fill");
        QTest::addColumn<QString>("idBox");   // where the dialog shows the id it drew
        QTest::addColumn<QString>("element"); // "%1": that id
        QTest::addColumn<bool>("reveal");
        QTest::addColumn<int>("looks"); // different looks the view shows at least
        QTest::newRow("text reveal") << "RevealTransition(Text)" << Fill([](DialogDriver &d) {
            // Circle out over a coloured block: its edge sweeps the box for the whole play
            // (on the page's white the small centred text would be uncovered in 0.3 s).
            d.fill("Combo1", "3");
            d.fill("Text1", "blue");
            d.accept("Command2");
        }) << ""
                                     << "veld" << true << 6;
        QTest::newRow("image reveal") << "RevealTransition(Image)" << Fill([](DialogDriver &d) {
            d.fill("Text1", "first.png");
            d.fill("Combo2", "1");
            d.accept("Command2");
        }) << ""
                                      << "veldimage" << true << 6;
        QTest::newRow("blend") << "BlendFilter" << Fill([](DialogDriver &d) {
            d.fill("Text1", "first.png");
            d.fill("Text2", "second.png");
            d.accept("Command3");
        }) << "Text3"
                               << "image\\d+" << false << 6;
        QTest::newRow("shadow") << "影付き文字" << Fill([](DialogDriver &d) {
            d.fill("Text1", "red");
            d.fill("Combo1", "あり");
            d.accept("Command3");
        }) << "Text3"
                                << "VELD\\d+" << false << 6;
        QTest::newRow("wave") << "波文字" << Fill([](DialogDriver &d) {
            d.fill("Combo1", "あり");
            d.accept("Command1");
        }) << "Text4"
                              << "VELD\\d+" << false << 6;
        QTest::newRow("glow") << "燃える文字" << Fill([](DialogDriver &d) {
            d.fill("Combo1", "あり");
            d.accept("Command1");
        }) << "Text3"
                              << "VELD\\d+" << false << 6;
        QTest::newRow("alpha") << "消える文字" << Fill([](DialogDriver &d) {
            d.fill("Combo2", "あり");
            d.accept("Command1");
        }) << "Text2"
                               << "VELD\\d+" << false << 6;
        QTest::newRow("mouse-over colour") << "ﾏｳｽで色が変わる文字" << Fill([](DialogDriver &d) {
            d.fill("Text1", "blue");
            d.fill("Text2", "red");
            d.fill("Text3", "Home");
            d.fill("Text4", "http://example.com/");
            d.press("Command3");
            // A second button: the sweep then moves between them and back.
            d.fill("Text3", "Next");
            d.fill("Text4", "http://example.com/next");
            d.press("Command3");
            d.accept("Command1");
            // Four looks: the empty view, both buttons in the first colour, each in turn
            // in the second.
        }) << ""
                                           << "VELD0" << false << 4;
    }
    void eachEffectPlaysInBrowseMode()
    {
        QFETCH(QString, entry);
        QFETCH(Fill, fill);
        QFETCH(QString, element);
        QFETCH(bool, reveal);
        QFETCH(int, looks);
        // An empty page in the folder of the pictures, the caret in its empty body.
        const QString page = m_folder.filePath("page.htm");
        writeBytes(page, "<HTML><HEAD></HEAD><BODY></BODY></HTML>");
        QVERIFY(loadAndWait(editor(), page));
        answerNextModal([&](QWidget *widget) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            QVERIFY(dialog);
            DialogDriver d(*dialog);
            fill(d);
        });
        choose(entry);
        const QString body = bodyOf(editor());
        QVERIFY2(body.contains("</SCRIPT></DIV>"), qPrintable(body));
        const QRegularExpressionMatch id =
            QRegularExpression("<[A-Z]+ id=(" + element + ") [^>]*>").match(body);
        QVERIFY2(id.hasMatch(), qPrintable(body));
        element = id.captured(1);
        if (reveal) {
            // Half the reveal's three seconds: the checks are about how it plays and
            // ends, not how long it lasts.
            QVERIFY(body.contains("duration=3)"));
            QVERIFY(setBody(editor(), QString(body).replace("duration=3)", "duration=1.5)")));
        }

        editor().setBrowseMode(true);
        // The effect plays: the view shows look after look. Counted from the frames alone,
        // as fast as the view draws: a page script may answer only late while the engine
        // is busy drawing, and a reveal would be over before a check by script. The
        // first, empty look and the last one are two of them.
        QVERIFY2(distinctLooks(looks, 8000) >= looks, qPrintable(body));
        // The copy has loaded (not the view's first, empty document).
        const QString loaded =
            QStringLiteral("document.readyState == 'complete' && !!document.getElementById('%1')")
                .arg(element);
        QTRY_VERIFY_WITH_TIMEOUT(view() && evalInPage(view(), loaded) == QVariant(true), 10000);
        const QRect box = boxOf(element);
        QVERIFY2(box.width() > 4 && box.height() > 4, qPrintable(body));

        if (reveal) {
            // The reveal ends with its content shown whole and unclipped.
            const QString ended =
                QStringLiteral("(() => { const e = document.getElementById('%1'); return "
                               "e.style.visibility == 'visible' && "
                               "getComputedStyle(e).clipPath == 'none'; })()")
                    .arg(element);
            QTRY_VERIFY_WITH_TIMEOUT(evalInPage(view(), ended) == QVariant(true), 6000);
            if (element == QLatin1String("veldimage")) {
                const auto whole = [this, box] {
                    const QImage last = frame().copy(box);
                    for (const QPoint p :
                         {QPoint(1, 1), QPoint(last.width() - 2, last.height() - 2),
                          QPoint(last.width() / 2, last.height() / 2)})
                        if (!isColour(last.pixel(p), qRgb(220, 0, 0)))
                            return false;
                    return true;
                };
                QTRY_VERIFY_WITH_TIMEOUT(whole(), 3000);
            } else {
                // The text reveal's box: its background, with the text drawn on it.
                const auto drawn = [this, box] {
                    const QImage last = frame().copy(box);
                    int dark = 0;
                    for (int y = 0; y < last.height(); ++y)
                        for (int x = 0; x < last.width(); ++x)
                            dark += qGray(last.pixel(x, y)) < 100;
                    return dark > 20;
                };
                QTRY_VERIFY_WITH_TIMEOUT(drawn(), 3000);
            }
        }
        editor().setBrowseMode(false);
        QVERIFY(waitForComplete(editor()));
    }

    void statementsLeftOutAreToldOnTheModeIndicator()
    {
        QVERIFY(m_f.setPage("<P>x</P><SCRIPT TYPE=text/vbscript>\r\nSub window_onload()\r\n"
                            "  With document\r\n  End With\r\nEnd Sub\r\n</SCRIPT>"));
        QLineEdit *indicator = m_f.window->modeIndicator();
        m_f.window->toolbarButton("go_browse")->trigger();
        QTRY_VERIFY(editor().BrowseMode());
        QVERIFY2(indicator->toolTip().contains("行目") && indicator->toolTip().contains("With"),
                 qPrintable(indicator->toolTip()));
        m_f.window->toolbarButton("go_edit")->trigger();
        QTRY_VERIFY(!editor().BrowseMode());
        QVERIFY(indicator->toolTip().isEmpty());

        // A page whose scripts all run says nothing.
        QVERIFY(m_f.setPage("<P>x</P>"));
        m_f.window->toolbarButton("go_browse")->trigger();
        QTRY_VERIFY(editor().BrowseMode());
        QVERIFY(indicator->toolTip().isEmpty());
    }

    void revealOnLoadPlaysAndSavingAfterBrowsingIsByteIdentical()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("page.htm"));
        QVERIFY(QFile::copy(dataFile(QStringLiteral("effects/onload.htm")), page));
        QVERIFY(loadAndWait(editor(), page));
        QVERIFY(editor().SaveDocument(dir.filePath(QStringLiteral("before.htm"))));

        browseAndSeeTheReveal();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(evalInPage(browseView(editor()),
                            QStringLiteral("document.getElementById('veld').style.visibility")),
                 QVariant(QStringLiteral("visible")));

        editor().setBrowseMode(false);
        QVERIFY(waitForComplete(editor()));
        QVERIFY(!editor().DocumentHTML().contains(QLatin1String("lumipage"), Qt::CaseInsensitive));
        QVERIFY(editor().SaveDocument(dir.filePath(QStringLiteral("after.htm"))));
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("after.htm"))),
                 readBytes(dir.filePath(QStringLiteral("before.htm"))));
    }

    void pageNamesCannotTurnTheRuntimeOff()
    {
        // The page's own script holds the names the runtime once kept on the window and
        // those translated scripts use; its procedures are called Apply and Play.
        QVERIFY(loadAndWait(editor(), dataFile(QStringLiteral("effects/shadowing.htm"))));
        browseAndSeeTheReveal();
        if (QTest::currentTestFailed())
            return;
        // The page's names are still its own.
        QCOMPARE(evalInPage(browseView(editor()),
                            QStringLiteral("[typeof __lumipageFilters.of, F, typeof $].join()")),
                 QVariant(QStringLiteral("undefined,page,function")));
        editor().setBrowseMode(false);
        QVERIFY(waitForComplete(editor()));
    }

    void timedEffectsKeepChangingTheirBoxes()
    {
        playEffects(editor()); // the runtime published, to know when the scripts have run
        QVERIFY(loadAndWait(editor(), dataFile(QStringLiteral("effects/animations.htm"))));
        editor().setBrowseMode(true);
        // The view shows an empty page, complete at once, before the page itself.
        QTRY_VERIFY_WITH_TIMEOUT(
            evalInPage(browseView(editor()), QStringLiteral("document.readyState == 'complete' "
                                                            "&& location.protocol != 'about:'"))
                .toBool(),
            10000);
        QTRY_VERIFY_WITH_TIMEOUT(
            evalInPage(browseView(editor()),
                       QStringLiteral("typeof __lumipageEffects.vbs.globals.fade")) ==
                QStringLiteral("number"),
            5000);
        // Shadow turning, glow pulsing, alpha fading, wave moving: each box changes.
        const QList<QRect> boxes{
            {10, 10, 100, 60}, {150, 10, 100, 60}, {20, 100, 80, 40}, {150, 95, 100, 50}};
        const QImage first = browseView(editor())->grab().toImage();
        for (const QRect &box : boxes)
            QTRY_VERIFY_WITH_TIMEOUT(
                browseView(editor())->grab().toImage().copy(box) != first.copy(box), 2500);
        editor().setBrowseMode(false);
        QVERIFY(waitForComplete(editor()));
    }
};

LUMIPAGE_TEST_MAIN(TestEffectsPlay)
#include "tst_effectsplay.moc"
