// The CSS reader on a big sheet against the engine's own parse of it.
#include "benchsupport.h"
#include "cases.h"

#include "platform/editing/webengineeditingcomponent.h"
#include "platform/markup/cssparser.h"
#include "styles/stylecontroller.h"
#include "styles/stylepanel.h"
#include "support/testsupport.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QWebEngineView>

namespace lumipage::bench
{

namespace
{

// A sheet of about `bytes` as authors write them: rules with compound selectors, a few
// declarations each, comments, @media blocks and a Japanese font name now and then.
QString sheet(qsizetype bytes)
{
    QString text = QStringLiteral("@charset \"utf-8\";\n");
    for (int i = 0; text.size() < bytes; ++i) {
        if (i % 50 == 0)
            text += QStringLiteral("/* section %1 */\n@media (max-width: 768px) {\n"
                                   "  .col%1 { float: none; width: auto }\n}\n")
                        .arg(i);
        text += QStringLiteral("#page .box%1 > ul li.item:hover a[href^=\"http\"],\n"
                               ".note%1::before {\n"
                               "    color: #%2;\n    margin: 0 auto %3px;\n"
                               "    font: bold 12px/1.5 \"ＭＳ ゴシック\", sans-serif;\n"
                               "    background: url(img/bg%1.png) no-repeat !important;\n}\n")
                    .arg(i)
                    .arg(i % 4096, 3, 16, QLatin1Char('0'))
                    .arg(i % 40);
    }
    return text;
}

} // namespace

namespace
{

// On a page that links a sheet of 5,000 rules: the style panel filled after a caret move
// between two paragraphs, against the bare engine's caret move and one round trip; and a
// declaration of the sheet edited in the panel (Enter in the value line) until the page
// shows it and the file is written (the page's answer comes after the engine has worked
// out the new style), against the bare engine setting the same declaration by a script
// and reading the paragraph's computed style, one round trip.
void panelCases(const QString &dir, bool filling, bool editing)
{
    QString rules;
    for (int i = 0; i < 5000; ++i)
        rules += QStringLiteral(".c%1 p, #n%1 > a:hover { color: #%2; margin: %3px }\n")
                     .arg(i)
                     .arg(i % 4096, 3, 16, QLatin1Char('0'))
                     .arg(i % 9);
    rules += QStringLiteral("p { line-height: 1.6 }\n.lead { font-weight: bold }\n");
    QFile css(dir + QStringLiteral("/rules.css"));
    css.open(QIODevice::WriteOnly);
    css.write(rules.toUtf8());
    css.close();
    const QByteArray html = "<!DOCTYPE html><html><head><link rel=stylesheet href=rules.css>"
                            "</head><body><div><p id=a class=lead>First</p>"
                            "<p id=b>Second</p></div></body></html>";
    const QString page = writePage(dir, QStringLiteral("styled"), html);

    auto editor = test::shownEditor();
    QMainWindow window;
    QAction toggle;
    StyleController styles(window, *editor, toggle);
    window.show();
    styles.setShown(true);
    test::loadAndWait(*editor, page);
    QWebEngineView bare;
    bare.resize(910, 580);
    bare.show();
    bareLoad(bare, page);
    bool first = true;
    const Trial ours = [&] {
        first = !first;
        QSignalSpy filled(&styles, &StyleController::filled);
        QElapsedTimer clock;
        clock.start();
        test::selectIn(*editor, first ? QStringLiteral("a") : QStringLiteral("b"), 0, 0);
        caught(filled);
        return clock.nsecsElapsed() / 1e6;
    };
    const Trial engine = timed([&] {
        evaluate(bare.page(), QStringLiteral("getSelection().collapse(document.getElementById("
                                             "'%1').firstChild, 0); 0")
                                  .arg(first ? QStringLiteral("a") : QStringLiteral("b")));
    });
    if (filling)
        report(QStringLiteral("style panel filled after a caret move (bare: caret move + round "
                              "trip)"),
               QStringLiteral("5,000-rule sheet"), compare(ours, engine));
    if (!editing)
        return;

    test::selectIn(*editor, QStringLiteral("a"), 0, 0);
    if (!QTest::qWaitFor([&] { return styles.panel()->rows().size() >= 2; }, 10000))
        qWarning("style edit: the panel did not show the paragraph's rules");
    auto *rows = styles.panel()->findChild<QTreeWidget *>(QStringLiteral("styleRules"));
    auto *line = styles.panel()->findChild<QLineEdit *>(QStringLiteral("styleValue"));
    bool bold = true;
    const Trial edit = [&] {
        bold = !bold;
        const QList<styles::StyleRow> &shown = styles.panel()->rows();
        for (int i = 0; i < shown.size(); ++i)
            if (shown[i].property == QStringLiteral("font-weight"))
                rows->setCurrentItem(rows->topLevelItem(i));
        line->setText(bold ? QStringLiteral("bold") : QStringLiteral("600"));
        QSignalSpy onPage(&styles, &StyleController::shownOnPage);
        QSignalSpy edited(&styles, &StyleController::edited);
        QSignalSpy filled(&styles, &StyleController::filled);
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(line, Qt::Key_Return);
        if (!caught(onPage))
            qWarning("style edit: the page did not take it");
        const double ms = clock.nsecsElapsed() / 1e6;
        // The sheet written and the panel showing the new value before the next trial
        // (untimed).
        if (!caught(edited))
            qWarning("style edit: no answer");
        if (!caught(filled))
            qWarning("style edit: the panel was not filled again");
        return ms;
    };
    bool bareBold = true;
    const Trial set = [&] {
        bareBold = !bareBold;
        QElapsedTimer clock;
        clock.start();
        // The new style worked out for the paragraph, as the page needs it to show it.
        evaluate(bare.page(),
                 QStringLiteral("(() => { const r = [...document.styleSheets[0].cssRules].pop();"
                                " r.style.setProperty('font-weight', '%1');"
                                " return getComputedStyle(document.getElementById('a'))"
                                ".fontWeight; })()")
                     .arg(bareBold ? QStringLiteral("bold") : QStringLiteral("600")));
        return clock.nsecsElapsed() / 1e6;
    };
    Budget few;
    few.maxPairs = 61; // each of ours writes the 280 KB sheet
    report(QStringLiteral("style edit shown on the page (bare: a script sets it, round trip)"),
           QStringLiteral("5,000-rule sheet"), compare(edit, set, few));
}

} // namespace

void styleCases(const QString &dir, const QString &only)
{
    const bool filling = wanted(only, "style panel"), editing = wanted(only, "style edit");
    if (filling || editing)
        panelCases(dir, filling, editing);
    if (!wanted(only, "css parse"))
        return;
    const QString text = sheet(1024 * 1024);
    QWebEngineView bare;
    bare.resize(400, 300);
    bare.show();
    bare.setHtml(QStringLiteral("<!DOCTYPE html><title>css</title>"));
    evaluate(bare.page(), QStringLiteral("1"));
    // The sheet reaches the page once, untimed; the engine's parse is timed in the page.
    evaluate(bare.page(), QStringLiteral("window.sheet = %1[0]; 0")
                              .arg(QString::fromUtf8(
                                  QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))));
    const Trial ours = timed([&] {
        const css::Sheet parsed(text);
        const css::Block rules = parsed.parseStylesheet();
        Q_UNUSED(rules)
    });
    const Trial engine = [&] {
        return evaluate(bare.page(),
                        QStringLiteral("(() => { const s = new CSSStyleSheet();"
                                       " const t = performance.now(); s.replaceSync(window.sheet);"
                                       " s.cssRules.length;"
                                       " return performance.now() - t; })()"))
            .toDouble();
    };
    report(QStringLiteral("css parse: our reader vs the engine's parse"),
           QStringLiteral("1MB sheet"), compare(ours, engine));
}

} // namespace lumipage::bench
