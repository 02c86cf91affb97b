// Encoding detection and conversion of page files.
#include "platform/editing/textcodec.h"

#include <QTest>

using namespace lumipage;

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

    void decodeIsStrict()
    {
        QCOMPARE(textcodec::decode(sjis(QStringLiteral("表示")), "windows-31j"),
                 std::optional<QString>(QStringLiteral("表示")));
        QVERIFY(!textcodec::decode(QByteArray("\x81"), "UTF-8"));
        QCOMPARE(textcodec::decode(QByteArray("\xEF\xBB\xBFx"), "UTF-8"),
                 std::optional<QString>(QStringLiteral("x")));
    }

    void unencodableCharactersBecomeReferences()
    {
        const QString text = QStringLiteral("漢字 é 😀 ①");
        const QByteArray bytes = textcodec::encode(text, "windows-31j");
        QCOMPARE(*textcodec::decode(bytes, "windows-31j"),
                 QStringLiteral("漢字 &#233; &#128512; ①"));
        QCOMPARE(textcodec::encode(text, "UTF-8"), text.toUtf8());
    }

    void longTextWithARareCharacterKeepsEverythingElse()
    {
        QString text = QString(20000, QChar(u'あ'));
        text.insert(9000, QStringLiteral("😀"));
        const QString back = *textcodec::decode(textcodec::encode(text, "EUC-JP"), "EUC-JP");
        QCOMPARE(back.size(), text.size() - 2 + 9);
        QCOMPARE(back.mid(8999, 11), QStringLiteral("あ&#128512;あ"));
    }

    void binaryIsNotText()
    {
        QVERIFY(!textcodec::looksLikeText(QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11)));
        QVERIFY(textcodec::looksLikeText(QByteArray("<HTML>")));
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
