// The VBScript translator: its output run in QJSEngine with the effects runtime over a
// small stand-in for the page's document.
#include "platform/effects/effectspage.h"
#include "platform/effects/vbstranslator.h"

#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QRegularExpression>
#include <QTest>

using namespace lumipage;

namespace
{

// Just enough of a page for the runtime: elements with ids, styles, events.
const char *kFakeDom = R"(
var window = this;
var timers = [];
function setTimeout(f, ms) { timers.push(f); return timers.length; }
function setInterval(f, ms) { timers.push(f); return timers.length; }
function HTMLAllCollection() {}
function CSSStyleDeclaration() { this.props = {}; }
CSSStyleDeclaration.prototype.getPropertyValue = function (p) { return this.props[p] || ''; };
CSSStyleDeclaration.prototype.setProperty = function (p, v) { this.props[p] = String(v); };
CSSStyleDeclaration.prototype.removeProperty = function (p) { delete this.props[p]; };
Object.defineProperty(CSSStyleDeclaration.prototype, 'visibility', {
    get: function () { return this.props.visibility || ''; },
    set: function (v) { this.props.visibility = v; }, enumerable: true });
Object.defineProperty(CSSStyleDeclaration.prototype, 'backgroundColor', {
    get: function () { return this.props['background-color'] || ''; },
    set: function (v) { this.props['background-color'] = v; }, enumerable: true });
function Element(id) { this.id = id; this.style = new CSSStyleDeclaration(); this.listeners = {};
                       this.attributes = []; this.innerHTML = ''; }
Element.prototype.addEventListener = function (e, f) { this.listeners[e] = f; };
Element.prototype.getAttribute = function (n) { return null; };
var elements = [new Element('VELD3'), new Element('Button1')];
var document = {
    readyState: 'complete', all: new HTMLAllCollection(),
    getElementById: function (id) { return elements.find(function (e) { return e.id === id; }) || null; },
    getElementsByName: function () { return []; },
    querySelectorAll: function (s) { return s === '*' ? elements : s === '[id],[name]' ? elements : []; },
    addEventListener: function () {}
};
var alerts = [];
window.alert = function (m) { alerts.push(m); };
window.addEventListener = function (e, f) {};
)";

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TestVbsTranslator : public QObject
{
    Q_OBJECT

    QJSEngine *m_js = nullptr;
    QList<vbs::Problem> m_problems;

    // Translates `source` (one block, plus handlers) and runs it in a fresh engine.
    void run(const QString &source, const QList<vbs::InlineHandler> &handlers = {})
    {
        delete m_js;
        m_js = new QJSEngine(this);
        m_js->installExtensions(QJSEngine::ConsoleExtension);
        const QJSValue dom = m_js->evaluate(QString::fromLatin1(kFakeDom));
        QVERIFY2(!dom.isError(), qPrintable(dom.toString()));
        const vbs::Translation t = vbs::translate({{source, 1}}, handlers);
        m_problems = t.problems;
        const QJSValue r = m_js->evaluate(effectsScript(t.script, RuntimeHandle::Published));
        QVERIFY2(!r.isError(), qPrintable(r.toString() + QLatin1Char('\n') + t.script));
    }
    QJSValue eval(const QString &js) { return m_js->evaluate(js); }
    QJSValue global(const char *name)
    {
        return eval(QStringLiteral("__lumipageEffects.vbs.globals.%1")
                        .arg(QLatin1String(name).toString().toLower()));
    }

private slots:
    void expressions_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("expected"); // JSON of the value
        const QList<QPair<const char *, const char *>> rows{
            {"\"a\" & 1 & True", "\"a1True\""},
            {"\"1\" + 2", "3"},
            {"\"a\" + \"b\"", "\"ab\""},
            {"7 \\ 2", "3"},
            {"-7 \\ 2", "-3"},
            {"7 Mod 3", "1"},
            {"2 ^ 3", "8"},
            {"-2 ^ 2", "-4"},
            {"1 + 2 * 3", "7"},
            {"6 And 3", "2"},
            {"3 Xor 5", "6"},
            {"Not 0", "-1"},
            {"True And False", "false"},
            {"Not (1 = 2)", "true"},
            {"1 < 2 And \"a\" <> \"b\"", "true"},
            {"\"10\" > 9", "true"},
            {"\"b\" > \"a\"", "true"},
            {"\"a\"\"b\"", "\"a\\\"b\""},
            {"&H1F + &O10", "39"},
            {"Mid(\"abcdef\", 2, 3)", "\"bcd\""},
            {"Mid(\"abcdef\", 4)", "\"def\""},
            {"InStr(\"abcabc\", \"c\")", "3"},
            {"InStr(4, \"abcabc\", \"c\")", "6"},
            {"InStr(\"abc\", \"x\")", "0"},
            {"Left(\"abc\", 2) & Right(\"abc\", 2)", "\"abbc\""},
            {"Len(\"日本語\")", "3"},
            {"LCase(\"AbC\") & UCase(\"AbC\")", "\"abcABC\""},
            {"Trim(\"  x  \")", "\"x\""},
            {"CInt(2.5) & CInt(3.5) & Int(-1.5)", "\"24-2\""},
            {"Chr(65) & Asc(\"a\")", "\"A97\""},
            {"IsNumeric(\"12\") & IsNumeric(\"x\")", "\"TrueFalse\""},
            {"CStr(1.5) & \"\"", "\"1.5\""},
            {"IsEmpty(Empty) & (Nothing Is Nothing)", "\"TrueTrue\""}};
        for (const auto &[e, v] : rows)
            QTest::newRow(e) << QString::fromUtf8(e) << QString::fromUtf8(v);
    }
    void expressions()
    {
        QFETCH(QString, expression);
        QFETCH(QString, expected);
        run(QStringLiteral("result = ") + expression);
        QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.value(0).message));
        QCOMPARE(
            eval(QStringLiteral("JSON.stringify(__lumipageEffects.vbs.globals.result)")).toString(),
            expected);
    }

    void statementsOfTheSubset()
    {
        run(QStringLiteral(R"VB(Option Explicit
Dim total, words(2), i, n
Const LIMIT = 10
REM a remark
Function Twice(ByVal x) ' the result by assignment to the name
    Twice = x * 2
    If x > 100 Then Exit Function
    Twice = Twice + 0
End Function
Function Fact(n)
    If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)
End Function
Sub AddUp(a, b)
    total = total + a + b
End Sub
Sub Main()
    Dim k, name
    For k = 1 To LIMIT Step 3 : total = total + k : Next   ' 1 4 7 10
    For k = 10 To 1 Step -1
        If k = 8 Then Exit For
        total = total + 100
    Next
    k = 0
    Do While k < 3 : k = k + 1 : Loop
    Do Until k >= 5
        k = k + 1
    Loop
    Do
        k = k + 1
        If k = 9 Then Exit Do
    Loop While True
    words(0) = "zero" : words(1) = "one" : words(2) = _
        "two"
    For Each name In words
        n = n & Left(name, 1)
    Next
    Select Case k
        Case 1, 2, 3
            result = "small"
        Case 8, 9
            result = "nine"
        Case Else
            result = "other"
    End Select
    Select Case "x"
        Case "y" : other = 1
        Case Else : other = 2
    End Select
    Select Case k
        Case 1 To 3 : range = "low"
        Case Is >= 9 : range = "high"
    End Select
    If k = 1 Then
        branch = "one"
    ElseIf k = 9 Then
        branch = "nine"
    Else
        branch = "else"
    End If
    Call AddUp(1, 2)
    AddUp 3, 4
    twice2 = TWICE(21)
    On Error Resume Next
    missing = 1 / 0
    afterError = "kept"
End Sub
Dim result, other, branch, twice2, missing, afterError, range
main
fact5 = Fact(5)
)VB"));
        QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.value(0).message));
        QCOMPARE(global("total").toInt(), 22 + 200 + 10);
        QCOMPARE(global("n").toString(), QStringLiteral("zot"));
        QCOMPARE(global("result").toString(), QStringLiteral("nine"));
        QCOMPARE(global("other").toInt(), 2);
        QCOMPARE(global("range").toString(), QStringLiteral("high"));
        QCOMPARE(global("branch").toString(), QStringLiteral("nine"));
        QCOMPARE(global("twice2").toInt(), 42);
        QCOMPARE(global("fact5").toInt(), 120);
        QCOMPARE(global("afterError").toString(), QStringLiteral("kept"));
        // The local of Main did not leak out.
        QVERIFY(global("k").isUndefined());
    }

    void namesAreCaseInsensitiveDownToTheDom()
    {
        run(QStringLiteral(R"VB(Dim Counter
Sub window_onload()
    COUNTER = 5
    document.All.VELD3.Style.Visibility = "visible"
    document.all("veld3").style.BackgroundColor = "red"
    document.all.item("Veld3").style.pixelLeft = 30
    document.GetElementById("VELD3").style.PosTop = 12
    document.all.veld3.style.filter = "alpha(opacity=80)"
    document.All.VELD3.Filters.Item(0).Opacity = 30
    document.all.veld3.filters(0).opacity = document.all.veld3.filters.alpha.opacity + 1
End Sub
)VB"));
        QVERIFY(m_problems.isEmpty());
        QCOMPARE(eval("timers.length").toInt(), 1); // window_onload waits for the load
        eval("timers[0]()");
        QCOMPARE(global("counter").toInt(), 5);
        QCOMPARE(eval("elements[0].style.props.visibility").toString(), QStringLiteral("visible"));
        QCOMPARE(eval("elements[0].style.props['background-color']").toString(),
                 QStringLiteral("red"));
        QCOMPARE(eval("elements[0].style.props.left").toString(), QStringLiteral("30px"));
        QCOMPARE(eval("elements[0].style.props.top").toString(), QStringLiteral("12px"));
        QCOMPARE(eval("__lumipageEffects.filters.of(elements[0]).item(0).opacity").toInt(), 31);
        // A write shows at once.
        QCOMPARE(eval("elements[0].style.props.filter").toString(),
                 QStringLiteral("opacity(0.31)"));
    }

    void proceduresBindToEventsAndTimers()
    {
        run(QStringLiteral(R"VB(Dim log
Sub Button1_OnClick()
    log = log & "click;"
End Sub
Sub go_in(n)
    log = log & "in" & n & ";"
    window.setTimeout "Later(7)", 100
End Sub
Sub later(x)
    log = log & "later" & x & ";"
    MsgBox "done " & x
End Sub
)VB"),
            {{QStringLiteral("onmouseover"), QStringLiteral("go_in(0)"), 3},
             {QStringLiteral("onclick"), QStringLiteral("Go_In 1 : log = log & \"inline;\""), 4}});
        QVERIFY(m_problems.isEmpty());
        eval("elements[1].listeners.click()");
        // Handlers are chosen by event and text; a stand-in element carries them.
        eval("elements[0].attributes = [{name: 'onmouseover', value: 'go_in(0)'},"
             "{name: 'onclick', value: 'Go_In 1 : log = log & \"inline;\"'}];"
             "__lumipageEffects.vbs.ready();");
        eval("elements[0].onmouseover(); elements[0].onclick();");
        QCOMPARE(global("log").toString(), QStringLiteral("click;in0;in1;inline;"));
        eval("timers[timers.length - 1]()");
        QCOMPARE(global("log").toString(), QStringLiteral("click;in0;in1;inline;later7;"));
        QCOMPARE(eval("alerts.join('|')").toString(), QStringLiteral("done 7"));
    }

    void unknownConstructIsReportedOnceWithItsLine()
    {
        const QString source = QStringLiteral("Dim a\n"
                                              "Sub Broken()\n"
                                              "  With document\n"
                                              "    a = 1\n"
                                              "  End With\n"
                                              "End Sub\n"
                                              "Sub Works()\n"
                                              "  a = x.y.z(\n"
                                              "  a = 2\n"
                                              "End Sub\n"
                                              "Works\n");
        const vbs::Translation t = vbs::translate({{source, 20}});
        QCOMPARE(t.problems.size(), 3);
        QCOMPARE(t.problems[0].line, 22);
        QVERIFY(t.problems[0].message.contains(QLatin1String("With")));
        QCOMPARE(t.problems[1].line, 24);
        QCOMPARE(t.problems[2].line, 27);
        run(source);
        QCOMPARE(global("a").toInt(), 2);
        QCOMPARE(eval("__lumipageEffects.vbs.reported.length").toInt(), 3);
    }

    void everyHelperTheTranslationEmitsExists()
    {
        // The helpers written out in the translator's code, and those of its tables.
        QStringList names = vbs::tableHelpers();
        const QRegularExpression emitted(QStringLiteral(R"(\$\.([A-Za-z_]\w*))"));
        const QDir sources(QStringLiteral(LUMIPAGE_TEST_DATA "/../../src/platform/effects"));
        const QStringList files = sources.entryList({QStringLiteral("vbs*.cpp")});
        QVERIFY(files.size() >= 4);
        for (const QString &file : files)
            for (auto it = emitted.globalMatch(readText(sources.filePath(file))); it.hasNext();)
                names << it.next().captured(1);
        names.removeDuplicates();
        QVERIFY2(names.contains(QStringLiteral("callName")) &&
                     names.contains(QStringLiteral("f.mid")),
                 qPrintable(names.join(u' ')));
        run(QString());
        for (const QString &name : std::as_const(names))
            QVERIFY2(
                eval(QStringLiteral("__lumipageEffects.vbs.%1 !== undefined").arg(name)).toBool(),
                qPrintable(name));
    }

    void stringsCannotEndTheScriptElement()
    {
        const vbs::Translation t = vbs::translate(
            {{QStringLiteral("x = \"</SCRIPT><b>\" & vbCrLf\ny = \"a\u2028b\"\n"), 1}});
        QVERIFY(!t.script.contains(QLatin1String("</"), Qt::CaseInsensitive));
        QVERIFY(!t.script.contains(QChar(0x2028)));
        run(QStringLiteral("x = \"</SCRIPT>\""));
        QCOMPARE(global("x").toString(), QStringLiteral("</SCRIPT>"));
    }

    void pageCopyAddsTheRuntimeAndLeavesThePageAlone()
    {
        const QString page =
            QStringLiteral("<HTML><!-- </head> --><HEAD><TITLE>t</TITLE></HEAD>\r\n<BODY>\r\n"
                           "<DIV id=VELD1 style=\"filter:revealTrans(Transition=3)\" "
                           "onmouseover=\"Go_In(1)\" onclick=\"alert(1)\">x</DIV>\r\n"
                           "<SPAN LANGUAGE=VBSCRIPT onclick=\"MsgBox &quot;hi&quot;\">y</SPAN>\r\n"
                           "<DIV><SCRIPT TYPE =text/vbscript>\r\nSub go_in(n)\r\n  With x\r\nEnd "
                           "Sub\r\n</SCRIPT></DIV>\r\n"
                           "<script>var s = '<SCRIPT language=vbscript>';</script></BODY></HTML>");
        const EffectsPage copy = pageWithEffects(page);
        const qsizetype start = copy.html.indexOf(QLatin1String("<script data-lumipage-runtime>"));
        // At the end of the head, past a comment that looks like its end.
        QCOMPARE(start, page.indexOf(QLatin1String("</HEAD>")));
        const qsizetype end = copy.html.indexOf(QLatin1String("</HEAD>"));
        QCOMPARE(copy.html.left(start) + copy.html.mid(end), page);
        QCOMPARE(copy.problems.size(), 1);
        QCOMPARE(copy.problems[0].line, 7);

        const QList<vbs::InlineHandler> handlers =
            vbscriptHandlers(page, vbs::procedureNames(vbscriptBlocks(page)));
        QCOMPARE(handlers.size(), 2);
        QCOMPARE(handlers[0].source, QStringLiteral("Go_In(1)"));
        QCOMPARE(handlers[1].source, QStringLiteral("MsgBox \"hi\""));
        QCOMPARE(vbscriptBlocks(page).size(), 1);

        const QString plain =
            QStringLiteral("<HTML><BODY><P style=\"color:red\">x</P></BODY></HTML>");
        QCOMPARE(pageWithEffects(plain).html, plain);
    }
};

QTEST_GUILESS_MAIN(TestVbsTranslator)
#include "tst_vbstranslator.moc"
