// The effects' script templates that lie beside the program: their bytes, their
// placeholders, their blocks, and the script subset the effects runtime runs.
#include "platform/effects/vbstranslator.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

using namespace lumipage;

class TestEffectTemplates : public QObject
{
    Q_OBJECT

private slots:
    void templates_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("placeholders");
        QTest::addColumn<QStringList>("required");
        const QStringList links{"[LINK0]", "[LINK1]", "[LINK2]", "[LINK3]", "[LINK4]",
                                "[LINK5]", "[LINK6]", "[LINK7]", "[LINK8]", "[LINK9]"};
        const QString onload = QStringLiteral("Sub window_onload()");
        QTest::newRow("text reveal") << "vbscript.veld" << QStringList{}
                                     << QStringList{onload, "\"veld\"", ".Apply", ".Play"};
        QTest::newRow("image reveal") << "image_vbscript.veld" << QStringList{}
                                      << QStringList{onload, "\"veldimage\"", ".Apply", ".Play"};
        QTest::newRow("shadow") << "shadow.vbs" << QStringList{"[VELD ID]"}
                                << QStringList{onload, ".direction ="};
        QTest::newRow("wave") << "wave.vbs" << QStringList{"[VELD ID]"}
                              << QStringList{onload, ".phase ="};
        QTest::newRow("glow") << "glow.vbs" << QStringList{"[VELD ID]"}
                              << QStringList{onload, ".strength ="};
        QTest::newRow("alpha") << "alpha.vbs" << QStringList{"[VELD ID]"}
                               << QStringList{onload, ".opacity ="};
        QTest::newRow("mouse-over colour")
            << "moji_colorChange.vbs" << QStringList{"[color1]", "[color2]"} + links
            << QStringList{"Sub go_in(n)", "Sub go_out(n)", "Sub go_link(n)"};
        QTest::newRow("blend") << "blendfilter.vbs"
                               << QStringList{"[IMGID]", "[GAZOU1]", "[GAZOU2]"}
                               << QStringList{".Apply", ".Play", ".src ="};
    }
    void templates()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, placeholders);
        QFETCH(QStringList, required);
        QFile in(QStringLiteral(LUMIPAGE_TEST_DATA "/../../data/") + file);
        QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(in.fileName()));
        const QByteArray bytes = in.readAll();
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        QVERIFY2(!utf8.hasError(), "not valid UTF-8");
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));

        // CR LF after every line, the last included; no bare CR or LF.
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count('\n'));
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));

        // The merge adds the SCRIPT tags itself.
        QVERIFY(!text.contains("<SCRIPT", Qt::CaseInsensitive));
        for (const QString &piece : required)
            QVERIFY2(text.contains(piece, Qt::CaseInsensitive), qPrintable(piece));

        // Every placeholder of the effect is used, each time inside a string literal, so
        // that escaped values substituted there stay data. A line's literals are found by
        // the parity of the quotes before the placeholder ("" inside a literal counts two).
        for (const QString &placeholder : placeholders) {
            QVERIFY2(text.contains(placeholder), qPrintable(placeholder));
            for (const QString &line : text.split(QStringLiteral("\r\n"))) {
                for (qsizetype at = line.indexOf(placeholder); at >= 0;
                     at = line.indexOf(placeholder, at + 1)) {
                    const qsizetype quotes = line.left(at).count(QLatin1Char('"'));
                    QVERIFY2(quotes % 2 == 1 && line.indexOf('"', at) > at,
                             qPrintable(placeholder + " outside a literal: " + line));
                }
            }
        }
        // Blocks are closed, timers name procedures the script defines, and a Const
        // holds a plain literal (the merge may write a value as an expression).
        QString code; // the script without comments and with string literals emptied
        for (QString line : text.split(QStringLiteral("\r\n"))) {
            line.replace(QRegularExpression(QStringLiteral("\"(?:[^\"]|\"\")*\"")),
                         QStringLiteral("\"\""));
            code += line.section(QLatin1Char('\''), 0, 0) + QLatin1Char('\n');
        }
        // Lines of the script matching `pattern`, indented or not (" " stands for blanks,
        // " ?" for optional ones).
        const auto lines = [&code](QString pattern) {
            pattern.replace(QLatin1String(" ?"), QLatin1String("\\h*"))
                .replace(QLatin1Char(' '), QLatin1String("\\h+"));
            const QRegularExpression re(
                QLatin1String("^[ \\t]*") + pattern + QLatin1String("[ \\t]*$"),
                QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
            int count = 0;
            for (auto it = re.globalMatch(code); it.hasNext(); it.next())
                ++count;
            return count;
        };
        QCOMPARE(lines("(Sub|Function) .*"), lines("End (Sub|Function)"));
        QCOMPARE(lines("If .* Then"), lines("End If"));
        QCOMPARE(lines("Select Case .*"), lines("End Select"));
        QCOMPARE(lines("Do( .*)?"), lines("Loop( .*)?"));
        QCOMPARE(lines("For .*"), lines("Next"));
        QCOMPARE(lines("Const .*"), lines("Const \\w+ ?= ?(\"\"|\\d+)"));
        const QRegularExpression timer(QStringLiteral("set(?:Timeout|Interval)\\s+\"(\\w+)"),
                                       QRegularExpression::CaseInsensitiveOption);
        for (auto it = timer.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            const QString name = match.captured(1);
            QVERIFY2(text.contains(QStringLiteral("Sub ") + name + QLatin1Char('(')),
                     qPrintable(name));
        }
        // Everything stays inside the script subset that the effects runtime runs.
        const vbs::Translation translation = vbs::translate({{text, 1}});
        for (const vbs::Problem &problem : translation.problems)
            QFAIL(qPrintable(QStringLiteral("line %1: %2").arg(problem.line).arg(problem.message)));
        // No bracketed text of another effect that the merge would leave unreplaced.
        const QRegularExpression bracketed(QStringLiteral(R"(\[[A-Za-z0-9 ]+\])"));
        for (auto it = bracketed.globalMatch(text); it.hasNext();) {
            const QString found = it.next().captured();
            QVERIFY2(placeholders.contains(found), qPrintable(found));
        }
    }
};

QTEST_GUILESS_MAIN(TestEffectTemplates)
#include "tst_effecttemplates.moc"
