#pragma once

// Random runs of the edits a user makes, through the real editor, saved with the author's
// markup kept and written whole: both files must read as the page shown, an undone run
// must save the original bytes, and lines outside the edited elements stay as written.

#include <QString>
#include <QStringList>

#include <vector>

namespace lumipage
{
class WebEngineEditingComponent;
}

namespace lumipage::test
{

class KeptFuzz
{
public:
    // Places are fractions of the page's text (0 ≤ a, b < 1), found when the edit runs, so
    // that a run with edits dropped still finds somewhere to make the others.
    struct Edit {
        enum Kind { Type, Enter, Backspace, Delete, Bold, Link, Row, Paste, Position, Undo, Redo };
        Kind kind = Type;
        double a = 0, b = 0;
        int variant = 0;
    };
    struct Outcome {
        QString fault;       // empty when the run is clean
        int linesBeyond = 0; // original lines rewritten beyond what the edits touched
        int lines = 0, kept = 0, keptWhole = 0;
        bool wholeFallback = false; // the kept save wrote the page whole
        QString fallback;           // why
        bool unwritable = false;    // neither file reads as the page shown
    };

    // Pages in tests/data/kept that the runs open.
    static const QStringList &pages();
    // The page and the run of edits of `seed`.
    static QString pageOf(quint32 seed);
    static std::vector<Edit> editsOf(quint32 seed);
    static QString describe(const std::vector<Edit> &edits);

    // `folder` holds the copies and the saved files.
    KeptFuzz(WebEngineEditingComponent &editor, const QString &folder);

    Outcome run(const QString &page, const std::vector<Edit> &edits);
    // The shortest run, by dropping edits, that still fails as `edits` does.
    std::vector<Edit> shrink(const QString &page, std::vector<Edit> edits);

private:
    // Selects [a, b) of the page's text; how many original lines the edit there may touch.
    int select(double a, double b, bool toBlockEnd = false);
    int caretInCell(double a);
    void keys(const QList<int> &keys, const QString &text = {});
    int keyUps();
    QString evaluate(const QString &script);

    WebEngineEditingComponent &m_editor;
    QString m_folder;
};

} // namespace lumipage::test
