#pragma once

#include "check/finders/pagefinding.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class Hunspell;

namespace lumipage::check
{

class ParsedPage;

// A word of running text and where it stands.
struct TextWord {
    QString word;
    qsizetype position = 0; // in the text it was taken from
};

// The words of `text` worth checking against an English dictionary: runs of Latin
// letters (with inner apostrophes), leaving out words with digits, words in capitals
// (abbreviations), single letters, and whole addresses (web, mail, file paths). Text in
// other scripts (Japanese) is not checked.
QList<TextWord> wordsToCheck(const QString &text);

// The English dictionary's files, without extension (".aff" and ".dic" beside it);
// empty when it is not installed.
QString englishDictionary();

// An English hunspell dictionary, read when first asked (on the thread that checks).
class EnglishSpelling
{
public:
    explicit EnglishSpelling(QString dictionary = englishDictionary());
    ~EnglishSpelling();

    // Whether the dictionary could be read.
    bool available();
    // Whether the dictionary knows `word`; true when there is no dictionary.
    bool knows(const QString &word);

private:
    void load();

    QString m_dictionary;
    std::once_flag m_loaded;
    std::unique_ptr<Hunspell> m_hunspell;
};

// Misspelt words in the page's text (not in scripts, styles, or parts in another
// language than English; a Japanese page's English words are checked). A word
// misspelt more than once is listed at its first place with the number of the others.
// Without a dictionary, one finding says that spelling was not checked.
QList<PageFinding> spellingFindings(const ParsedPage &page, EnglishSpelling &spelling);

} // namespace lumipage::check
