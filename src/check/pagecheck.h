#pragma once

#include "check/finders/accessibilityfindings.h"
#include "check/finders/pagefinding.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace lumipage
{

namespace check
{
class EnglishSpelling;
}

// Everything one check reads, taken from the page in one go on the window's thread, so
// that the check itself can run on another.
struct PageCheckInput {
    QString text;                      // the text a save would write now
    QString folder;                    // the page's folder; empty for a page never saved
    QByteArray encoding;               // the encoding its file is written in
    QList<check::TextColours> colours; // the engine's colours of the page's text
    std::shared_ptr<check::EnglishSpelling> spelling; // null: spelling is not checked
};

// Every finding of every kind on the page, by line: files, HTML, accessibility, pictures,
// spelling. The page's local pictures are read (their headers only) on the calling thread.
QList<check::PageFinding> findProblems(const PageCheckInput &input);

} // namespace lumipage
