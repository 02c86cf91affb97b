#pragma once

#include "check/finders/pagefinding.h"
#include "check/finders/tidymessages.h"

#include <QByteArray>

namespace lumipage::check
{

class ParsedPage;

// What libtidy's checks report on a page's UTF-8 text: warnings and errors only, in the
// order tidy found them. Tidy reads the text for its diagnostics and nothing else: what
// it would write is never asked for.
QList<TidyReport> tidyReports(const QByteArray &utf8);

// The reports as findings on `page` (the same text), each with the element at its place;
// summarised codes once for each thing they name.
QList<PageFinding> htmlFindings(const ParsedPage &page, const QList<TidyReport> &reports);

// The page's charset declaration against `encoding`, the encoding its file is written in:
// a page that declares none, one a browser does not know, or another than the file's.
QList<PageFinding> charsetFindings(const ParsedPage &page, const QByteArray &encoding);

} // namespace lumipage::check
