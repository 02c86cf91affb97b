// The script merge as pure functions: template files, reading, placeholders,
// the block, the window_onload() refusal, and values kept inside their string literals.
#include "insert/effectkinds.h"
#include "insert/scriptmerge.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace lumipage;

constexpr EffectKind kFilterText[] = {EffectKind::Shadow, EffectKind::Wave, EffectKind::Glow,
                                      EffectKind::Alpha};

class TestScriptMerge : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(bytes);
        return path;
    }
    static QString block(const QString &script)
    {
        return "<DIV><SCRIPT TYPE =text/vbscript>" + script + "</SCRIPT></DIV>";
    }

private slots:
    void everyEffectFillsEveryPlaceholderOfItsTemplate()
    {
        // The templates beside the program, merged with a request that sets every value:
        // no placeholder is left for the page to show as text.
        EffectRequest request;
        request.effectId = request.color1 = request.color2 = "v";
        request.image1 = request.image2 = "v.gif";
        request.linkTargets.fill("l.htm");
        int merged = 0;
        for (const EffectKindRow &row : effectKinds()) {
            if (row.kind == EffectKind::None)
                continue;
            QString problem;
            const std::optional<QString> text = readEffectTemplate(
                QStringLiteral(LUMIPAGE_TEST_DATA "/../../data/") + effectTemplateFile(row.kind),
                &problem);
            QVERIFY2(text, qPrintable(problem));
            const ScriptMerge block = mergeEffectScript(row.kind, *text, request, false);
            QCOMPARE(block.outcome, ScriptMerge::Outcome::Block);
            static const QRegularExpression placeholder(QStringLiteral("\\[[A-Za-z0-9 ]+\\]"));
            QVERIFY2(!block.text.contains(placeholder), row.listName);
            ++merged;
        }
        QCOMPARE(merged, 8);
        QVERIFY(effectTemplateFile(EffectKind::None).isEmpty());
    }

    void linesEndInCrLfWhateverTheFileUsed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n";
        QTest::newRow("LF") << QByteArray("a\nb\n") << "a\r\nb\r\n";
        QTest::newRow("CR") << QByteArray("a\rb\r") << "a\r\nb\r\n";
        QTest::newRow("mixed") << QByteArray("a\rb\nc\r\nd") << "a\r\nb\r\nc\r\nd\r\n";
        QTest::newRow("last line without a break")
            << QByteArray("Sub x\r\nEnd Sub") << "Sub x\r\nEnd Sub\r\n";
        QTest::newRow("empty lines kept") << QByteArray("a\n\n\nb") << "a\r\n\r\n\r\nb\r\n";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("one break") << QByteArray("\n") << "\r\n";
    }
    void linesEndInCrLfWhateverTheFileUsed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QString problem;
        const auto read = readEffectTemplate(write("t.vbs", bytes), &problem);
        QVERIFY2(read, qPrintable(problem));
        QCOMPARE(*read, text);
    }

    void utf8OrElseWindows31j()
    {
        const QString japanese = QStringLiteral("MsgBox \"ようこそ～\"");
        QString problem;
        QCOMPARE(readEffectTemplate(write("u.vbs", japanese.toUtf8()), &problem),
                 std::optional<QString>(japanese + "\r\n"));
        QStringEncoder sjis("windows-31j");
        QVERIFY(sjis.isValid());
        const QByteArray bytes = sjis.encode(japanese);
        QVERIFY(bytes != japanese.toUtf8());
        QCOMPARE(readEffectTemplate(write("s.vbs", bytes), &problem),
                 std::optional<QString>(japanese + "\r\n"));
    }

    void aMissingTemplateIsNamedAndGivesNothing()
    {
        QString problem;
        QVERIFY(!readEffectTemplate(m_dir.filePath("shadow.vbs"), &problem));
        QVERIFY2(problem.contains("shadow.vbs"), qPrintable(problem));
    }

    void blockAroundTheTemplate()
    {
        QCOMPARE(mergeEffectScript(EffectKind::RevealText, "Sub a\r\nEnd Sub\r\n", {}, false),
                 (ScriptMerge{ScriptMerge::Outcome::Block, block("Sub a\r\nEnd Sub\r\n")}));
        // An empty template: nothing between the tags.
        QCOMPARE(mergeEffectScript(EffectKind::RevealImage, "", {}, false).text,
                 QStringLiteral("<DIV><SCRIPT TYPE =text/vbscript></SCRIPT></DIV>"));
        // No effect: no script.
        QCOMPARE(mergeEffectScript(EffectKind::None, "x", {}, false), ScriptMerge{});
    }

    void revealTemplatesReplaceNothing()
    {
        EffectRequest request;
        request.effectId = "VELD7";
        request.color1 = "red";
        const QString text = "[VELD ID][color1][IMGID]\r\n";
        QCOMPARE(mergeEffectScript(EffectKind::RevealText, text, request, true).text, block(text));
        QCOMPARE(mergeEffectScript(EffectKind::RevealImage, text, request, true).text, block(text));
    }

    void filterTextReplacesTheIdEverywhereAndOnlyItsOwn()
    {
        EffectRequest request;
        request.effectId = "VELD42";
        request.color1 = "red";
        for (EffectKind kind : kFilterText) {
            const ScriptMerge merged = mergeEffectScript(
                kind, "document.all.[VELD ID].x = \"[VELD ID]\" [color1] [veld id]\r\n", request,
                false);
            QCOMPARE(merged.outcome, ScriptMerge::Outcome::Block);
            QCOMPARE(merged.text,
                     block("document.all.VELD42.x = \"VELD42\" [color1] [veld id]\r\n"));
        }
    }

    void filterTextIsRefusedWhenThePageHasAnOnloadHandler()
    {
        EffectRequest request;
        request.effectId = "VELD1";
        for (EffectKind kind : kFilterText) {
            const ScriptMerge merged = mergeEffectScript(kind, "[VELD ID]", request, true);
            QCOMPARE(merged.outcome, ScriptMerge::Outcome::Refused);
            QCOMPARE(merged.text,
                     QStringLiteral("スクリプトが記述されています。ｱｸｼｮﾝは追加できません！"));
        }
        // The mouse-over colours and the blend make no such test.
        QCOMPARE(mergeEffectScript(EffectKind::ColourButtons, "x", request, true).outcome,
                 ScriptMerge::Outcome::Block);
        QCOMPARE(mergeEffectScript(EffectKind::Blend, "x", request, true).outcome,
                 ScriptMerge::Outcome::Block);
    }

    void colourButtonsFillColoursAndLinksInOrder()
    {
        EffectRequest request;
        request.color1 = "blue";
        request.color2 = "[LINK1]"; // a value holding a later placeholder has it replaced in turn
        request.linkTargets[0] = "http://a.example/";
        request.linkTargets[1] = "/site/b.htm";
        // [LINK2] … [LINK9] left empty by the dialog: their placeholders become nothing.
        const QString text = "c1=\"[color1]\" c2=\"[color2]\" l0=\"[LINK0]\" l1=\"[LINK1]\" "
                             "l2=\"[LINK2]\" l9=\"[LINK9]\" [Color1]\r\n";
        QCOMPARE(mergeEffectScript(EffectKind::ColourButtons, text, request, false).text,
                 block("c1=\"blue\" c2=\"/site/b.htm\" l0=\"http://a.example/\" "
                       "l1=\"/site/b.htm\" l2=\"\" l9=\"\" [Color1]\r\n"));
    }

    void blendFillsTheImageIdAndBothImages()
    {
        EffectRequest request;
        request.effectId = "VELD9";
        request.image1 = "/pics/a.gif";
        request.image2 = "b.jpg";
        QCOMPARE(mergeEffectScript(EffectKind::Blend, "[IMGID] [GAZOU1] [GAZOU2] [VELD ID]\r\n",
                                   request, false)
                     .text,
                 block("VELD9 /pics/a.gif b.jpg [VELD ID]\r\n"));
    }

    void valuesStayInsideTheirStringLiterals_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "red"
                               << "red";
        QTest::newRow("quote doubled") << "say \"hi\""
                                       << "say \"\"hi\"\"";
        QTest::newRow("CR LF") << "a\r\nb"
                               << "a\" & Chr(13) & Chr(10) & \"b";
        QTest::newRow("LF") << "a\nb"
                            << "a\" & Chr(10) & \"b";
        QTest::newRow("CR") << "a\rb"
                            << "a\" & Chr(13) & \"b";
        QTest::newRow("script end") << "x</SCRIPT>y"
                                    << "x</\" & \"SCRIPT>y";
        QTest::newRow("script end, any case") << "</script >"
                                              << "</\" & \"script >";
        QTest::newRow("other end tags kept") << "</B>"
                                             << "</B>";
    }
    void valuesStayInsideTheirStringLiterals()
    {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(vbStringValue(value), written);
        EffectRequest request;
        request.linkTargets[3] = value;
        QCOMPARE(
            mergeEffectScript(EffectKind::ColourButtons, "t(3) = \"[LINK3]\"\r\n", request, false)
                .text,
            block("t(3) = \"" + written + "\"\r\n"));
        // The block holds exactly one script end: its own.
        QCOMPARE(mergeEffectScript(EffectKind::ColourButtons, "\"[LINK3]\"", request, false)
                     .text.count("</SCRIPT>", Qt::CaseInsensitive),
                 1);
    }

    void previewPageHoldsTheElementAndItsScriptOnly()
    {
        EffectRequest request;
        request.fragment = QStringLiteral("<DIV id=VELD3>t</DIV>");
        request.effectId = QStringLiteral("VELD3");
        const QString text =
            QStringLiteral("Sub window_onload()\r\n  x = \"[VELD ID]\"\r\nEnd Sub\r\n");
        QCOMPARE(effectPreviewPage(EffectKind::Wave, text, request),
                 QStringLiteral("<HTML><HEAD></HEAD><BODY><DIV id=VELD3>t</DIV>"
                                "<DIV><SCRIPT TYPE =text/vbscript>Sub window_onload()\r\n"
                                "  x = \"VELD3\"\r\nEnd Sub\r\n</SCRIPT></DIV></BODY></HTML>"));
        // Without the action: the element alone.
        request.withScript = false;
        QCOMPARE(effectPreviewPage(EffectKind::Wave, text, request),
                 QStringLiteral("<HTML><HEAD></HEAD><BODY><DIV id=VELD3>t</DIV></BODY></HTML>"));
    }
};

QTEST_GUILESS_MAIN(TestScriptMerge)
#include "tst_scriptmerge.moc"
