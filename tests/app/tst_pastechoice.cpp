// What a paste on the page does with what the clipboard holds, and the free name a pasted
// picture is written under; no display.
#include "app/pastechoice.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lumipage;

class TestPasteChoice : public QObject
{
    Q_OBJECT

    static QUrl file(const char *path) { return QUrl::fromLocalFile(QString::fromUtf8(path)); }

private slots:
    void clipboardDecidesTheRoad()
    {
        using A = PasteChoice::Action;
        // Copied picture files go in, also with the paths a file manager adds as text.
        PasteChoice choice =
            choosePaste({false, true, false, {file("/d/a.PNG"), file("/d/b.jpg")}});
        QCOMPARE(choice.action, A::InsertFiles);
        QCOMPARE(choice.paths, (QStringList{"/d/a.PNG", "/d/b.jpg"}));
        // A file that is no picture, or a web address, pastes as before.
        QCOMPARE(choosePaste({false, true, false, {file("/d/a.png"), file("/d/notes.txt")}}).action,
                 A::Engine);
        QCOMPARE(choosePaste({false, false, false, {QUrl("https://example.org/a.png")}}).action,
                 A::Engine);
        // Image data alone is written out; with markup or text (a picture copied from a
        // web page) the engine pastes the markup as before.
        QCOMPARE(choosePaste({false, false, true, {}}).action, A::InsertImage);
        QCOMPARE(choosePaste({true, false, true, {}}).action, A::Engine);
        QCOMPARE(choosePaste({false, true, true, {}}).action, A::Engine);
        QCOMPARE(choosePaste({}).action, A::Engine);
    }

    void pastedPictureNeverTakesAnExistingName()
    {
        QTemporaryDir dir;
        QCOMPARE(freePasteName(dir.path()), QStringLiteral("paste-1.png"));
        QFile taken(dir.filePath("paste-1.png"));
        QVERIFY(taken.open(QIODevice::WriteOnly));
        // A link to nothing holds its name as well: a write there would land elsewhere.
        QVERIFY(QFile::link(dir.filePath("nowhere"), dir.filePath("paste-2.png")));
        QCOMPARE(freePasteName(dir.path()), QStringLiteral("paste-3.png"));
    }
};

QTEST_GUILESS_MAIN(TestPasteChoice)
#include "tst_pastechoice.moc"
