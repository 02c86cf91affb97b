// The element for a picture's web copies, character for character.
#include "dialogs/webimage/webimagechoice.h"
#include "dialogs/webimage/webimagemarkup.h"

#include <QTest>

using namespace lumipage;

class TestWebImageMarkup : public QObject
{
    Q_OBJECT

private slots:
    void markup_data()
    {
        QTest::addColumn<WebImageMarkupFields>("fields");
        QTest::addColumn<QString>("expected");

        WebImageMarkupFields plain;
        plain.image.alt = QStringLiteral("夕焼け \"海\"");
        plain.picture = QStringLiteral("/site/photo-1600.jpg");
        plain.shownWidth = 800;
        plain.shownHeight = 600;
        QTest::newRow("one copy") << plain
                                  << "<IMG src=\"photo-1600.jpg\" alt=\"夕焼け &quot;海&quot;\" "
                                     "width=\"800\" height=\"600\">";

        WebImageMarkupFields sharp = plain;
        sharp.image = {};
        sharp.image.align = QStringLiteral("left");
        sharp.image.border = QStringLiteral("0");
        sharp.picture = QStringLiteral("/site/img/photo-800.jpg");
        sharp.picture2x = QStringLiteral("/site/img/photo-1600.jpg");
        QTest::newRow("sharp screens")
            << sharp
            << "<IMG src=\"img/photo-800.jpg\" srcset=\"img/photo-800.jpg 1x, img/photo-1600.jpg "
               "2x\" align=\"left\" border=\"0\" width=\"800\" height=\"600\">";

        // Spaces and commas would split a srcset; an ampersand would start a reference.
        WebImageMarkupFields webp;
        webp.picture = QStringLiteral("/site/my photo,1&copy-400.png");
        webp.picture2x = QStringLiteral("/site/my photo,1&copy-800.png");
        webp.webp = QStringLiteral("/site/my photo,1&copy-400.webp");
        webp.webp2x = QStringLiteral("/site/my photo,1&copy-800.webp");
        webp.shownWidth = 400;
        webp.shownHeight = 225;
        QTest::newRow("WebP with a PNG fallback")
            << webp
            << "<PICTURE><SOURCE srcset=\"my%20photo%2C1&amp;copy-400.webp 1x, "
               "my%20photo%2C1&amp;copy-800.webp 2x\" type=\"image/webp\">"
               "<IMG src=\"my photo,1&amp;copy-400.png\" srcset=\"my%20photo%2C1&amp;copy-400.png "
               "1x, my%20photo%2C1&amp;copy-800.png 2x\" width=\"400\" height=\"225\"></PICTURE>";

        WebImageMarkupFields webpOnly;
        webpOnly.picture = QStringLiteral("/elsewhere/photo-1600.webp");
        webpOnly.webp = {};
        webpOnly.shownWidth = 800;
        webpOnly.shownHeight = 1067;
        QTest::newRow("WebP alone, outside the page's folder")
            << webpOnly << "<IMG src=\"/elsewhere/photo-1600.webp\" width=\"800\" height=\"1067\">";
    }

    void markup()
    {
        QFETCH(WebImageMarkupFields, fields);
        QTEST(webImageMarkup(fields, QStringLiteral("/site")), "expected");
    }

    // WebP first with a JPEG fallback for sharp screens: four copies, WebP ones first,
    // each at the shown width then the chosen one; the element reads them in that order.
    void choiceToCopiesToElement()
    {
        WebImageChoice choice;
        choice.width = 1600;
        choice.webpFirst = true;
        choice.highDensity = true;
        const QList<pictures::WebCopyRequest> requests =
            webCopyRequests(choice, "/p/photo.jpg", "/site", 800);
        QStringList made;
        QList<pictures::WebCopyResult> copies;
        for (const pictures::WebCopyRequest &r : requests) {
            made << QStringLiteral("%1 %2").arg(pictures::suffixOf(r.format)).arg(r.width);
            copies << pictures::WebCopyResult{
                QStringLiteral("/site/photo-%1.%2").arg(r.width).arg(pictures::suffixOf(r.format)),
                r.width,
                r.width * 3 / 4,
                1000,
                {}};
        }
        QCOMPARE(made, QStringList({"webp 800", "webp 1600", "jpg 800", "jpg 1600"}));
        QCOMPARE(webImageMarkup(webImageMarkupFields(choice, copies, {}, 800), "/site"),
                 QStringLiteral("<PICTURE><SOURCE srcset=\"photo-800.webp 1x, photo-1600.webp 2x\" "
                                "type=\"image/webp\"><IMG src=\"photo-800.jpg\" "
                                "srcset=\"photo-800.jpg 1x, photo-1600.jpg 2x\" width=\"800\" "
                                "height=\"600\"></PICTURE>"));
        // Chosen narrower than shown, a second width would add nothing: one copy, shown at
        // its own size.
        choice.width = 600;
        choice.webpFirst = false;
        QCOMPARE(webCopyRequests(choice, "/p/photo.jpg", "/site", 800).size(), 1);
        const WebImageMarkupFields narrow = webImageMarkupFields(
            choice, {pictures::WebCopyResult{"/site/photo-600.jpg", 600, 450, 1, {}}}, {}, 800);
        QCOMPARE(narrow.shownWidth, 600);
        QCOMPARE(narrow.shownHeight, 450);
    }
};

QTEST_GUILESS_MAIN(TestWebImageMarkup)
#include "tst_webimagemarkup.moc"
