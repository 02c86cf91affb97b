// Pure text functions behind the dialogs: background rewrite, bulk replace, filters, counts.
#include "platform/desktop/commondialog.h"
#include "platform/editing/editingcommands.h"
#include "source/replace.h"
#include "widgets/backgroundmarkup.h"

#include <QElapsedTimer>
#include <QTest>

using namespace lumipage;

class TestMarkup : public QObject
{
    Q_OBJECT
private slots:
    void backgroundAttrIsBuiltAsTyped()
    {
        QCOMPARE(backgroundProperties("固定する"), std::optional<QString>("bgProperties=fixed"));
        QCOMPARE(backgroundProperties("固定しない"), std::optional<QString>("bgProperties=none"));
        QVERIFY(!backgroundProperties("固定"));
        QCOMPARE(backgroundAttr("C:\\a.gif", "bgProperties=fixed"),
                 QStringLiteral("<BODY background=C:\\a.gif bgProperties=fixed"));
    }

    void backgroundIsFoundAndRemovedAsTheComponentWritesIt()
    {
        const QString attr = backgroundAttr("/pics/a.gif", "bgProperties=fixed");
        QCOMPARE(serialisedTagStart(attr),
                 QStringLiteral("<BODY background=/pics/a.gif bgproperties=fixed"));
        const QString written =
            "<HTML><HEAD></HEAD><BODY background=/pics/a.gif bgproperties=fixed "
            "bgcolor=red><P>x</P></BODY></HTML>";
        QCOMPARE(findBackground(written, attr), 20);
        QCOMPARE(removeBackground(written, attr),
                 QStringLiteral("<HTML><HEAD></HEAD><BODY bgcolor=red><P>x</P></BODY></HTML>"));
        // As the dialog wrote it, before any reload.
        const QString typed =
            "<HTML><BODY background=/pics/a.gif bgProperties=fixed></BODY></HTML>";
        QCOMPARE(removeBackground(typed, attr), QStringLiteral("<HTML><BODY></BODY></HTML>"));
        // Nothing set yet: an empty text is found at 1, which means no background.
        QCOMPARE(findBackground(written, QString()), 1);
        QCOMPARE(findBackground("<BODY>", attr), 0);
        // Values the component quotes.
        QCOMPARE(serialisedTagStart("<BODY background=a&b.gif bgProperties=none"),
                 QStringLiteral("<BODY background=\"a&amp;b.gif\" bgproperties=none"));
    }

    void replaceAllIsPlainAndNotRescanned_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");
        QTest::newRow("TD to TH, case kept") << "<TD>a</TD><td>TDX</td>"
                                             << "TD"
                                             << "TH"
                                             << "<TH>a</TH><td>THX</td>";
        QTest::newRow("a to aa once") << "banana"
                                      << "a"
                                      << "aa"
                                      << "baanaanaa";
        QTest::newRow("not found") << "abc"
                                   << "x"
                                   << "y"
                                   << "abc";
        QTest::newRow("overlapping") << "aaa"
                                     << "aa"
                                     << "b"
                                     << "ba";
        QTest::newRow("cjk") << "表と表"
                             << "表"
                             << "テーブル"
                             << "テーブルとテーブル";
    }
    void replaceAllIsPlainAndNotRescanned()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, expected);
        QCOMPARE(replaceAll(text, find, replacement), expected);
    }

    void replaceAllIsLinearOnTenMegabytes()
    {
        const QString unit = QStringLiteral("<TR><TD>cell</TD><TD>値</TD></TR>\n");
        QString text;
        text.reserve(10 * 1024 * 1024);
        while (text.size() < 5 * 1024 * 1024)
            text += unit;
        QElapsedTimer timer;
        timer.start();
        const QString ours = replaceAll(text, "TD", "TABLECELL");
        const qint64 oursMs = timer.restart();
        QString theirs = text;
        theirs.replace("TD", "TABLECELL");
        const qint64 qtMs = timer.elapsed();
        QCOMPARE(ours, theirs);
        qInfo("replace over %lld chars: %lld ms (QString::replace %lld ms)", qint64(text.size()),
              oursMs, qtMs);
        QVERIFY(oursMs < 3000);
    }

    void filtersBecomeQtFilters()
    {
        QCOMPARE(CommonDialog::qtFilter("HTMファイル(*.htm)|*.htm|全てのファイル(*.*)|*.*"),
                 QStringLiteral("HTMファイル(*.htm);;全てのファイル(*.*)"));
        QCOMPARE(CommonDialog::qtFilter("GIF|*.gif"), QStringLiteral("GIF (*.gif)"));
    }

    void tableCountsAreWholeNumbersInRange_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("cols");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("3x2") << "3"
                             << "2" << true;
        QTest::newRow("limits") << "1000"
                                << "100" << true;
        QTest::newRow("empty") << ""
                               << "2" << false;
        QTest::newRow("zero") << "0"
                              << "2" << false;
        QTest::newRow("letters") << "x"
                                 << "2" << false;
        QTest::newRow("negative") << "-3"
                                  << "2" << false;
        QTest::newRow("exponent") << "1e9"
                                  << "2" << false;
        QTest::newRow("too many cols") << "2"
                                       << "101" << false;
        QTest::newRow("huge") << "3"
                              << "99999999999" << false;
    }
    void tableCountsAreWholeNumbersInRange()
    {
        QFETCH(QString, rows);
        QFETCH(QString, cols);
        QFETCH(bool, accepted);
        QCOMPARE(tableCountsProblem({rows, cols, {}, {}, {}}).isEmpty(), accepted);
    }
};

QTEST_GUILESS_MAIN(TestMarkup)
#include "tst_markup.moc"
