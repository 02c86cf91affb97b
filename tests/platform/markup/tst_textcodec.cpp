// Encoding detection and conversion of page files.
#include "platform/markup/textcodec.h"

#include <QTest>

using namespace lumipage;
using namespace Qt::StringLiterals;

class TestTextCodec : public QObject
{
    Q_OBJECT

    static QByteArray sjis(const QString &s) { return textcodec::encode(s, "windows-31j"); }
    static QByteArray euc(const QString &s) { return textcodec::encode(s, "EUC-JP"); }

private slots:
    void detection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("encoding");
        const QString jp = QStringLiteral("<P>日本語のページです。カタカナも。</P>");
        QTest::newRow("bom wins over meta")
            << QByteArray("\xEF\xBB\xBF<META charset=Shift_JIS>") << QByteArray("UTF-8");
        QTest::newRow("meta shift_jis")
            << QByteArray(
                   "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">") +
                   sjis(jp)
            << QByteArray("windows-31j");
        QTest::newRow("meta x-sjis")
            << QByteArray("<meta charset='x-sjis'>") << QByteArray("windows-31j");
        QTest::newRow("meta latin1 means windows-1252")
            << QByteArray("<meta charset=\"latin1\">") << QByteArray("windows-1252");
        QTest::newRow("meta utf-16 in a byte page means utf-8")
            << QByteArray("<meta http-equiv=Content-Type content=\"text/html; charset=utf-16\">")
            << QByteArray("UTF-8");
        QTest::newRow("meta euc-jp") << QByteArray("<meta charset=EUC-JP>") << QByteArray("EUC-JP");
        QTest::newRow("unknown meta falls through to utf-8")
            << QByteArray("<meta charset=no-such-code>") + jp.toUtf8() << QByteArray("UTF-8");
        QTest::newRow("plain ascii") << QByteArray("<P>hello</P>") << QByteArray("UTF-8");
        QTest::newRow("utf-8 without meta") << jp.toUtf8() << QByteArray("UTF-8");
        QTest::newRow("shift_jis without meta") << sjis(jp) << QByteArray("windows-31j");
        QTest::newRow("euc-jp without meta") << euc(jp) << QByteArray("EUC-JP");
        QTest::newRow("iso-2022-jp")
            << textcodec::encode(jp, "ISO-2022-JP") << QByteArray("ISO-2022-JP");
    }
    void detection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, encoding);
        QCOMPARE(textcodec::detectEncoding(bytes), encoding);
    }

    // Bytes the encoding cannot decode read as U+FFFD, as a browser shows them, and say so:
    // a stray byte, a character cut off at the end; the rest of the page is whole.
    void undecodableBytesBecomeReplacementCharacters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("clean") << sjis(u"表示"_s) << QByteArray("windows-31j") << u"表示"_s
                               << false;
        QTest::newRow("bom dropped")
            << QByteArray("\xEF\xBB\xBFx") << QByteArray("UTF-8") << u"x"_s << false;
        QTest::newRow("stray byte in shift_jis")
            << sjis(u"日記"_s) + "\xFD" + sjis(u"です"_s) << QByteArray("windows-31j")
            << u"日記\uFFFDです"_s << true;
        QTest::newRow("cut-off lead byte at the end")
            << sjis(u"終わり"_s) + "\x82" << QByteArray("windows-31j") << u"終わり\uFFFD"_s << true;
        QTest::newRow("euc-jp") << euc(u"漢字"_s) + "\xFF" + euc(u"かな"_s) << QByteArray("EUC-JP")
                                << u"漢字\uFFFDかな"_s << true;
        QTest::newRow("utf-8") << QByteArray("a\xFF"
                                             "b")
                               << QByteArray("UTF-8") << u"a\uFFFDb"_s << true;
        QTest::newRow("nul is a character")
            << QByteArray("a\0b", 3) << QByteArray("UTF-8") << QString(u"a\0b"_s) << false;
    }
    void undecodableBytesBecomeReplacementCharacters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, encoding);
        QFETCH(QString, text);
        QFETCH(bool, replaced);
        const std::optional<textcodec::Decoded> decoded = textcodec::decode(bytes, encoding);
        QVERIFY(decoded);
        QCOMPARE(decoded->text, text);
        QCOMPARE(decoded->replaced, replaced);
    }

    // Labels as browsers read them.
    void labels_data()
    {
        QTest::addColumn<QByteArray>("label");
        QTest::addColumn<QByteArray>("encoding");
        QTest::newRow("iso-8859-1") << QByteArray("ISO-8859-1") << QByteArray("windows-1252");
        QTest::newRow("latin1") << QByteArray(" latin1 ") << QByteArray("windows-1252");
        QTest::newRow("us-ascii") << QByteArray("us-ascii") << QByteArray("windows-1252");
        QTest::newRow("utf-16 in bytes") << QByteArray("UTF-16") << QByteArray("UTF-8");
        QTest::newRow("unicode") << QByteArray("unicode") << QByteArray("UTF-8");
        QTest::newRow("sjis") << QByteArray("SJIS") << QByteArray("windows-31j");
        QTest::newRow("euc-kr") << QByteArray("euc-kr") << QByteArray("windows-949");
        QTest::newRow("unknown") << QByteArray("no-such-code") << QByteArray();
    }
    void labels()
    {
        QFETCH(QByteArray, label);
        QFETCH(QByteArray, encoding);
        QCOMPARE(textcodec::encodingForLabel(label), encoding);
    }

    // A page naming Latin-1 has the curly quotes, dashes and signs of windows-1252.
    void latin1PageReadsAsWindows1252()
    {
        const QByteArray page = "<meta charset=iso-8859-1><p>\x92\x93\x94\x97\x80\x99</p>";
        const QByteArray encoding = textcodec::detectEncoding(page);
        QCOMPARE(encoding, QByteArray("windows-1252"));
        QVERIFY(textcodec::decode(page, encoding)->text.contains(u"’“”—€™"_s));
        QCOMPARE(textcodec::encode(textcodec::decode(page, encoding)->text, encoding), page);
    }

    void unencodableCharactersBecomeReferences()
    {
        const QString text = QStringLiteral("漢字 é 😀 ①");
        const QByteArray bytes = textcodec::encode(text, "windows-31j");
        QCOMPARE(textcodec::decode(bytes, "windows-31j")->text,
                 QStringLiteral("漢字 &#233; &#128512; ①"));
        QCOMPARE(textcodec::encode(text, "UTF-8"), text.toUtf8());
        // In ISO-2022-JP each part around a reference returns to ASCII, and no escape
        // stands straight before another (both read as other or bad characters).
        const QByteArray jis = textcodec::encode(QStringLiteral("山田 ｶﾀ 山"), "ISO-2022-JP");
        QCOMPARE(jis, "\x1B$B;3ED\x1B(B &#65398;&#65408; \x1B$B;3\x1B(B");
        QCOMPARE(textcodec::decode(jis, "ISO-2022-JP")->text,
                 QStringLiteral("山田 &#65398;&#65408; 山"));
    }

    void longTextWithARareCharacterKeepsEverythingElse()
    {
        QString text = QString(20000, QChar(u'あ'));
        text.insert(9000, QStringLiteral("😀"));
        const QString back = textcodec::decode(textcodec::encode(text, "EUC-JP"), "EUC-JP")->text;
        QCOMPARE(back.size(), text.size() - 2 + 9);
        QCOMPARE(back.mid(8999, 11), QStringLiteral("あ&#128512;あ"));
    }

    void binaryIsNotText()
    {
        QVERIFY(!textcodec::looksLikeText(QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11)));
        QVERIFY(!textcodec::looksLikeText(QByteArray("GIF89a\x01\0\x01\0", 10)));
        QVERIFY(!textcodec::looksLikeText(QByteArray(200, '\0') + "<HTML>"));
        QVERIFY(textcodec::looksLikeText(QByteArray("<HTML>")));
        // A NUL or two in a page do not make it binary.
        QVERIFY(textcodec::looksLikeText(QByteArray("<HTML><BODY>a\0b\x01c</BODY></HTML>", 33)));
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
