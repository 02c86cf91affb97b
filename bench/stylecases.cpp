// The CSS reader on a big sheet against the engine's own parse of it.
#include "benchsupport.h"
#include "cases.h"

#include "platform/markup/cssparser.h"

#include <QJsonArray>
#include <QJsonDocument>
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

void styleCases(const QString &only)
{
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
