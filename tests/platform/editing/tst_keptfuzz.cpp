// Random runs of edits against the kept writing. In the suite, a few fixed seeds (and the
// seeds of faults found and mended); `tst_keptfuzz fuzz [SEED] [COUNT]` (./dev fuzz) runs
// as many as asked and prints each failing seed with the shortest run that still fails.
#include "keptfuzz.h"

#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"

#include <QTemporaryDir>

#include <cstdio>

using namespace lumipage;
using namespace lumipage::test;

namespace
{

// Runs `count` seeds from `first`; the number that failed.
int fuzz(quint32 first, int count)
{
    QTemporaryDir dir;
    const std::unique_ptr<WebEngineEditingComponent> editor = shownEditor();
    KeptFuzz runs(*editor, dir.path());
    int failed = 0, lines = 0, kept = 0, keptWhole = 0, fallbacks = 0, unwritable = 0;
    for (int k = 0; k < count; ++k) {
        const quint32 seed = first + quint32(k);
        const QString page = KeptFuzz::pageOf(seed);
        const std::vector<KeptFuzz::Edit> edits = KeptFuzz::editsOf(seed);
        const KeptFuzz::Outcome outcome = runs.run(page, edits);
        lines += outcome.lines;
        kept += outcome.kept;
        keptWhole += outcome.keptWhole;
        fallbacks += outcome.wholeFallback;
        if ((k + 1) % 50 == 0) {
            std::printf("%d runs, %d failed\n", k + 1, failed);
            std::fflush(stdout);
        }
        unwritable += outcome.unwritable;
        // Written whole though HTML holds the page: within the allowance, but a fault.
        if (outcome.wholeFallback && !outcome.unwritable)
            std::printf("whole: seed %u %s (%s)\n", seed, qPrintable(page),
                        qPrintable(outcome.fallback));
        if (outcome.fault.isEmpty() && outcome.linesBeyond == 0)
            continue;
        ++failed;
        const std::vector<KeptFuzz::Edit> smallest = runs.shrink(page, edits);
        runs.run(page, smallest); // last, for what it leaves behind (LUMIPAGE_FUZZ_SAVE)
        std::printf(
            "FAIL seed %u %s: %s; %d lines rewritten beyond the edits (%s)\n  smallest: %s\n", seed,
            qPrintable(page),
            qPrintable(outcome.fault.isEmpty() ? QStringLiteral("lines") : outcome.fault),
            outcome.linesBeyond, qPrintable(outcome.fallback),
            qPrintable(KeptFuzz::describe(smallest)));
        std::fflush(stdout);
    }
    std::printf("%d runs from seed %u: %d failed; %d of %d lines kept (%d by the whole "
                "rewrite); %d kept saves written whole; %d pages HTML cannot hold as shown\n",
                count, first, failed, kept, lines, keptWhole, fallbacks, unwritable);
    return failed;
}

} // namespace

class TestKeptFuzz : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { m_editor = shownEditor(); }
    void cleanupTestCase() { m_editor.reset(); }

    void chosenRunsKeepTheirLines_data()
    {
        using E = KeptFuzz::Edit;
        QTest::addColumn<QString>("page");
        QTest::addColumn<std::vector<E>>("edits");
        // Enter and Backspace at one place, on pages whose paragraphs have no end tags.
        for (const char *page : {"legacy.htm", "legacy2.htm"})
            for (double at : {0.2, 0.5})
                QTest::addRow("%s enter backspace %.2f", page, at)
                    << page << std::vector<E>{{E::Enter, at, at, 1}, {E::Backspace, at, at, 0}};
        // A word typed and undone where tags end on the next line.
        for (double at : {0.4})
            QTest::addRow("docbook typed undone %.2f", at)
                << "docbook.htm" << std::vector<E>{{E::Type, at, at, 0}, {E::Undo, 0, 0, 0}};
    }
    void chosenRunsKeepTheirLines()
    {
        QFETCH(QString, page);
        QFETCH(std::vector<KeptFuzz::Edit>, edits);
        KeptFuzz runs(*m_editor, m_dir.path());
        const KeptFuzz::Outcome outcome = runs.run(page, edits);
        QVERIFY2(outcome.fault.isEmpty(), qPrintable(outcome.fault));
        QVERIFY(!outcome.wholeFallback);
        QCOMPARE(outcome.linesBeyond, 0);
        qInfo("%d of %d lines kept", outcome.kept, outcome.lines);
    }

    void randomEditsReadAsThePage_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QString>("page"); // the seed's page when it was found
        // 5003: Enter in a block after a paragraph the parser moved out of a misnested
        // font wrote the whole page anew. 263: Enter in the last paragraph of a page
        // without end tags, which the line ends after </body> and </html> join. 124: two
        // pastes took an id off a paragraph, and with both undone its start tag was still
        // written anew. 551: Enter at the start of a font the parser closed without an end
        // (misnested) wrote the whole page's content anew. 899: a word typed into the copy
        // the parser made of that font rewrote all that lay around the misnesting. 86: text
        // left after a paragraph without an end tag, where the next paragraph was deleted,
        // would have gone into it: the page was written whole. 64: a character ISO-2022-JP
        // lacks, in a line of two-byte text: the whole save left the two-byte set on after
        // it, and the text that followed read as other characters. 16: on a page of misnested
        // formatting, a link kept whole with the bold its end closed left that bold open
        // for what followed: the page was written whole. 509: a paste into the paragraph
        // holding the parser's copy of a font left open (misnested) rewrote all around
        // it, for want of a bound at a paragraph the parser had moved out of a bold. 203:
        // an edit's own part after that paragraph read back otherwise: written whole. 832: a
        // bold set after a link that leaves its bold open to the body's end (copied into
        // every block after it, so no sibling after the edit stands in place) rewrote all
        // of the page. 951: a link around the line end the parser put into a copy of a font
        // left open was taken for white space after the copy's end tag: written whole.
        const std::pair<quint32, const char *> runs[] = {
            {1u, "xhtml.htm"},       {2u, "legacy.htm"},      {86u, "legacy.htm"},
            {124u, "eucjp.htm"},     {263u, "legacy2.htm"},   {551u, "legacy2.htm"},
            {899u, "legacy2.htm"},   {5003u, "legacy2.htm"},  {64u, "iso2022jp.htm"},
            {16u, "misnested.htm"},  {509u, "misnested.htm"}, {203u, "misnested.htm"},
            {832u, "misnested.htm"}, {951u, "misnested.htm"}};
        for (const auto &[seed, page] : runs)
            QTest::addRow("%u", seed) << seed << QString::fromLatin1(page);
    }
    void randomEditsReadAsThePage()
    {
        QFETCH(quint32, seed);
        QFETCH(QString, page);
        KeptFuzz runs(*m_editor, m_dir.path());
        const std::vector<KeptFuzz::Edit> edits = KeptFuzz::editsOf(seed);
        const KeptFuzz::Outcome outcome = runs.run(page, edits);
        QVERIFY2(outcome.fault.isEmpty(),
                 qPrintable(outcome.fault + ": " + KeptFuzz::describe(edits)));
        QCOMPARE(outcome.linesBeyond, 0);
        QVERIFY2(outcome.unwritable || !outcome.wholeFallback, qPrintable(outcome.fallback));
    }
};

int main(int argc, char **argv)
{
    lumipage::prepareProcess();
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    if (argc > 1 && qstrcmp(argv[1], "fuzz") == 0) {
        const quint32 seed = argc > 2 ? quint32(QByteArray(argv[2]).toUInt()) : 1;
        const int count = argc > 3 ? QByteArray(argv[3]).toInt() : 100;
        return fuzz(seed, count) ? 1 : 0;
    }
    TestKeptFuzz test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_keptfuzz.moc"
