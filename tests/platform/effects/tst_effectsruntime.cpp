// The effects runtime in the real engine: pages of tests/data/effects with their
// filters and VBScript, shown in a view whose pixels are read back. Transitions are
// sought to a fixed progress so that each shape can be checked.
#include "platform/effects/effectspage.h"
#include "support/testsupport.h"

#include <QSignalSpy>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

namespace
{

bool isRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
}
bool isWhite(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200;
}

// A point of the 200 × 200 box and whether the new (red) look shows there.
struct Probe {
    int x, y;
    bool shown;
};

} // namespace

class TestEffectsRuntime : public QObject
{
    Q_OBJECT

    QWebEngineView *m_view = nullptr;

    bool load(const QString &name)
    {
        const QString html =
            QString::fromUtf8(readBytes(dataFile(QStringLiteral("effects/") + name)));
        QSignalSpy loaded(m_view, &QWebEngineView::loadFinished);
        m_view->setHtml(pageWithEffects(html, RuntimeHandle::Published).html,
                        QUrl::fromLocalFile(dataFile(QStringLiteral("effects/"))));
        return loaded.wait(20000) && loaded.first().first().toBool() &&
               run(QStringLiteral("document.readyState === 'complete'")).toBool();
    }
    QVariant run(const QString &script) { return evalInPage(m_view, script); }
    QImage shot() { return m_view->grab().toImage(); }
    // Share of red among a grid of points of the box.
    double redShare(const QImage &image)
    {
        int red = 0;
        for (int y = 2; y < 200; y += 10)
            for (int x = 2; x < 200; x += 10)
                red += isRed(image.pixel(x, y));
        return red / 400.0;
    }
    bool matches(const QImage &image, const QList<Probe> &probes)
    {
        for (const Probe &p : probes)
            if (p.shown ? !isRed(image.pixel(p.x, p.y)) : !isWhite(image.pixel(p.x, p.y)))
                return false;
        return true;
    }
    // Whether every row (or column) of the box is of one colour: bars.
    bool uniformLines(const QImage &image, bool rows)
    {
        for (int a = 1; a < 200; a += 3) {
            const bool first = isRed(rows ? image.pixel(1, a) : image.pixel(a, 1));
            for (int b = 1; b < 200; b += 20)
                if (isRed(rows ? image.pixel(b, a) : image.pixel(a, b)) != first)
                    return false;
        }
        return true;
    }
    // Hides the box, then plays transition `n` frozen at `progress`.
    void reveal(int n, double progress)
    {
        QVERIFY(run(QStringLiteral("__lumipageEffects.filters.seed(12);"
                                   "document.getElementById('Box').style.visibility = 'hidden';"
                                   "__lumipageEffects.filters.seek(%1); "
                                   "__lumipageEffects.vbs.procs.reveal(%2); true")
                        .arg(progress)
                        .arg(n))
                    .toBool());
    }

private slots:
    void initTestCase()
    {
        m_view = new QWebEngineView;
        m_view->resize(400, 300);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }
    void cleanupTestCase() { delete m_view; }

    void revealTransitionsHaveTheirShapes_data()
    {
        QTest::addColumn<int>("transition");
        QTest::addColumn<QList<Probe>>("probes");
        const Probe centre{100, 100, true}, corner{4, 4, true}, farCorner{195, 195, true};
        auto off = [](Probe p) { return Probe{p.x, p.y, false}; };
        const Probe top{100, 8, true}, bottom{100, 192, true}, left{8, 100, true},
            right{192, 100, true};
        QTest::newRow("0 box in") << 0 << QList<Probe>{corner, farCorner, off(centre)};
        QTest::newRow("1 box out") << 1 << QList<Probe>{centre, off(corner), off(farCorner)};
        QTest::newRow("2 circle in") << 2 << QList<Probe>{corner, farCorner, off(centre)};
        QTest::newRow("3 circle out") << 3 << QList<Probe>{centre, off(corner), off(farCorner)};
        QTest::newRow("4 wipe up") << 4 << QList<Probe>{bottom, off(top)};
        QTest::newRow("5 wipe down") << 5 << QList<Probe>{top, off(bottom)};
        QTest::newRow("6 wipe right") << 6 << QList<Probe>{left, off(right)};
        QTest::newRow("7 wipe left") << 7 << QList<Probe>{right, off(left)};
        QTest::newRow("8 vertical blinds")
            << 8
            << QList<Probe>{{4, 100, true}, {15, 100, false}, {24, 100, true}, {35, 100, false}};
        QTest::newRow("9 horizontal blinds")
            << 9
            << QList<Probe>{{100, 4, true}, {100, 15, false}, {100, 24, true}, {100, 35, false}};
        QTest::newRow("10 checkerboard across")
            << 10 << QList<Probe>{{12, 12, true}, {37, 12, false}, {12, 37, false}, {37, 37, true}};
        QTest::newRow("11 checkerboard down")
            << 11 << QList<Probe>{{12, 12, true}, {12, 37, false}, {37, 12, false}, {37, 37, true}};
        QTest::newRow("13 split vertical in") << 13 << QList<Probe>{left, right, off(centre)};
        QTest::newRow("14 split vertical out") << 14 << QList<Probe>{centre, off(left), off(right)};
        QTest::newRow("15 split horizontal in") << 15 << QList<Probe>{top, bottom, off(centre)};
        QTest::newRow("16 split horizontal out")
            << 16 << QList<Probe>{centre, off(top), off(bottom)};
        QTest::newRow("17 strips left-down") << 17 << QList<Probe>{{192, 8, true}, {8, 192, false}};
        QTest::newRow("18 strips left-up") << 18 << QList<Probe>{{192, 192, true}, {8, 8, false}};
        QTest::newRow("19 strips right-down")
            << 19 << QList<Probe>{{8, 8, true}, {192, 192, false}};
        QTest::newRow("20 strips right-up") << 20 << QList<Probe>{{8, 192, true}, {192, 8, false}};
    }
    void revealTransitionsHaveTheirShapes()
    {
        QFETCH(int, transition);
        QFETCH(QList<Probe>, probes);
        if (!m_view->url().isValid() ||
            run(QStringLiteral("typeof __lumipageEffects")).toString() != QLatin1String("object"))
            QVERIFY(load(QStringLiteral("reveal.htm")));
        reveal(transition, 0.5);
        QTRY_VERIFY_WITH_TIMEOUT(matches(shot(), probes), 5000);
        QVERIFY(run(QStringLiteral("__lumipageEffects.filters.seek(1); true")).toBool());
        const QList<Probe> all{
            {4, 4, true}, {100, 100, true}, {195, 195, true}, {195, 4, true}, {4, 195, true}};
        QTRY_VERIFY_WITH_TIMEOUT(matches(shot(), all), 5000);
    }

    void randomTransitionsCoverAboutHalfAtHalfTime()
    {
        QVERIFY(load(QStringLiteral("reveal.htm")));
        reveal(12, 0.5);
        QTRY_VERIFY_WITH_TIMEOUT(redShare(shot()) > 0.35 && redShare(shot()) < 0.65, 5000);
        reveal(21, 0.5);
        QTRY_VERIFY_WITH_TIMEOUT(
            uniformLines(shot(), true) && redShare(shot()) > 0.3 && redShare(shot()) < 0.7, 5000);
        reveal(22, 0.5);
        QTRY_VERIFY_WITH_TIMEOUT(
            uniformLines(shot(), false) && redShare(shot()) > 0.3 && redShare(shot()) < 0.7, 5000);
        // 23 picks one of the others: half time shows part of the box, the end all of it.
        reveal(23, 0.5);
        QTRY_VERIFY_WITH_TIMEOUT(redShare(shot()) > 0.05 && redShare(shot()) < 0.95, 5000);
        QVERIFY(run(QStringLiteral("__lumipageEffects.filters.seek(1); true")).toBool());
        QTRY_COMPARE_WITH_TIMEOUT(redShare(shot()), 1.0, 5000);
    }

    void statusRunsThroughAPlayAndOneFilterChangeEndsIt()
    {
        QVERIFY(load(QStringLiteral("reveal.htm")));
        QCOMPARE(run(QStringLiteral("__lumipageEffects.vbs.procs.state()")).toInt(), 0);
        reveal(6, 0.3);
        QCOMPARE(run(QStringLiteral("__lumipageEffects.vbs.procs.state()")).toInt(), 2);
        QVERIFY(run(QStringLiteral("__lumipageEffects.filters.seek(1); true")).toBool());
        QCOMPARE(run(QStringLiteral("__lumipageEffects.vbs.globals.seen")).toString(),
                 QStringLiteral("120"));
        QCOMPARE(run(QStringLiteral("__lumipageEffects.vbs.globals.ended")).toInt(), 1);
        // A play at its own pace ends by itself, once.
        QVERIFY(run(QStringLiteral("__lumipageEffects.filters.resume();"
                                   "__lumipageEffects.filters.of(document.getElementById('Box'))."
                                   "item(0).duration = 0.2;"
                                   "__lumipageEffects.vbs.procs.reveal(1); true"))
                    .toBool());
        QTRY_COMPARE_WITH_TIMEOUT(
            run(QStringLiteral("__lumipageEffects.vbs.globals.ended")).toInt(), 2, 5000);
        QCOMPARE(run(QStringLiteral("__lumipageEffects.vbs.procs.state()")).toInt(), 0);
    }

    // A block laid out anew while it plays (the window resized, or a view given its size
    // after the page loaded) is revealed over its new box, not the one it had at Play.
    void aRevealFollowsItsElementLaidOutAnew()
    {
        QVERIFY(load(QStringLiteral("reveal.htm")));
        reveal(6, 0.5); // wipe right, half way: the left half of the box is shown
        QTRY_VERIFY_WITH_TIMEOUT(matches(shot(), {{90, 100, true}, {110, 100, false}}), 5000);
        QVERIFY(run(QStringLiteral("document.getElementById('Box').style.width = '360px';"
                                   "__lumipageEffects.filters.seek(0.5); true"))
                    .toBool());
        QTRY_VERIFY_WITH_TIMEOUT(
            matches(shot(), {{150, 100, true}, {170, 100, true}, {190, 100, false}}), 5000);
        QVERIFY(run(QStringLiteral("__lumipageEffects.filters.seek(1); true")).toBool());
        QTRY_VERIFY_WITH_TIMEOUT(matches(shot(), {{350, 100, true}, {4, 195, true}}), 5000);
    }

    void applyWithoutPlayKeepsTheOldLook()
    {
        QVERIFY(load(QStringLiteral("reveal.htm")));
        QVERIFY(run(QStringLiteral("__lumipageEffects.vbs.procs.freeze(); true")).toBool());
        // Once the marker turned blue the frame with the box made visible has been drawn.
        QTRY_VERIFY_WITH_TIMEOUT(
            qBlue(shot().pixel(310, 10)) > 200 && qRed(shot().pixel(310, 10)) < 80, 5000);
        const QImage image = shot();
        QVERIFY(isWhite(image.pixel(100, 100)));
        QVERIFY(isWhite(image.pixel(4, 4)));
        QCOMPARE(run(QStringLiteral("__lumipageEffects.vbs.procs.state()")).toInt(), 1);
        // The author's visibility is what the script set; the runtime only clips.
        QCOMPARE(run(QStringLiteral("document.getElementById('Box').style.visibility")).toString(),
                 QStringLiteral("visible"));
    }

    void blendHalfwayMixesBothLooks()
    {
        QVERIFY(load(QStringLiteral("blend.htm")));
        QVERIFY(run(QStringLiteral("__lumipageEffects.filters.seek(0.5); "
                                   "__lumipageEffects.vbs.procs.change(); true"))
                    .toBool());
        QTRY_VERIFY_WITH_TIMEOUT(
            qRed(shot().pixel(50, 50)) > 90 && qRed(shot().pixel(50, 50)) < 170 &&
                qBlue(shot().pixel(50, 50)) > 90 && qBlue(shot().pixel(50, 50)) < 170,
            5000);
        QVERIFY(run(QStringLiteral("__lumipageEffects.filters.seek(1); true")).toBool());
        QTRY_VERIFY_WITH_TIMEOUT(
            qBlue(shot().pixel(50, 50)) > 200 && qRed(shot().pixel(50, 50)) < 60, 5000);
    }

    void eventAttributesRunTheirVbscript()
    {
        QVERIFY(load(QStringLiteral("mouseover.htm")));
        const QString fire = QStringLiteral("document.getElementById('%1').dispatchEvent(new "
                                            "MouseEvent('%2', {bubbles: true})); true");
        QVERIFY(run(fire.arg(QLatin1String("go0"), QLatin1String("mouseover"))).toBool());
        QCOMPARE(
            run(QStringLiteral("document.getElementById('go0').style.backgroundColor")).toString(),
            QStringLiteral("rgb(255, 0, 0)"));
        QVERIFY(run(fire.arg(QLatin1String("go0"), QLatin1String("mouseout"))).toBool());
        QCOMPARE(
            run(QStringLiteral("document.getElementById('go0').style.backgroundColor")).toString(),
            QStringLiteral("rgb(0, 0, 255)"));
        // The page's JavaScript calls a procedure by its name.
        QVERIFY(run(QStringLiteral("fromJavaScript(0); true")).toBool());
        QCOMPARE(
            run(QStringLiteral("document.getElementById('go0').style.backgroundColor")).toString(),
            QStringLiteral("rgb(255, 0, 0)"));
        QVERIFY(run(fire.arg(QLatin1String("go0"), QLatin1String("click"))).toBool());
        QCOMPARE(run(QStringLiteral("__lumipageEffects.vbs.globals.target")).toString(),
                 QStringLiteral("page0.htm"));
        // LANGUAGE=VBSCRIPT: the attribute is VBScript, Me is the element.
        QVERIFY(run(fire.arg(QLatin1String("hello"), QLatin1String("click"))).toBool());
        QCOMPARE(run(QStringLiteral("document.getElementById('hello').textContent")).toString(),
                 QStringLiteral("押された"));
        QCOMPARE(run(QStringLiteral("__lumipageEffects.vbs.globals.clicks")).toInt(), 1);
        // A JavaScript handler of the page stays JavaScript.
        QVERIFY(run(fire.arg(QLatin1String("plain"), QLatin1String("click"))).toBool());
        QCOMPARE(run(QStringLiteral("document.getElementById('plain').title")).toString(),
                 QStringLiteral("js"));
    }

    void visualFiltersDrawWithModernCss()
    {
        QVERIFY(load(QStringLiteral("visuals.htm")));
        // Shadow at 135°: below right of the box, not above left.
        QTRY_VERIFY_WITH_TIMEOUT(
            qBlue(shot().pixel(85, 85)) > 200 && qRed(shot().pixel(85, 85)) < 80, 5000);
        QVERIFY(isWhite(shot().pixel(15, 15)));
        // Alpha 50 from a <STYLE> rule: black at half strength over white.
        const QRgb faded = shot().pixel(150, 50);
        QVERIFY2(qRed(faded) > 100 && qRed(faded) < 160, qPrintable(QString::number(qRed(faded))));
        // Wave: a new phase moves the stripes.
        const QImage before = shot().copy(20, 120, 160, 80);
        QVERIFY(run(QStringLiteral("__lumipageEffects.vbs.procs.turn(); true")).toBool());
        QTRY_VERIFY_WITH_TIMEOUT(shot().copy(20, 120, 160, 80) != before, 5000);
    }
};

LUMIPAGE_TEST_MAIN(TestEffectsRuntime)
#include "tst_effectsruntime.moc"
