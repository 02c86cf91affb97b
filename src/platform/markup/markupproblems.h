#pragma once

#include <QByteArray>

#include <vector>

namespace lumipage::markupproblems
{

// A place where the parser reads markup otherwise than it is written: a start tag whose
// element it had to close without the end tag (one that may not be left out), or an end
// tag that closes nothing it was written for.
struct Problem {
    enum Kind { Unclosed, StrayEndTag };
    Kind kind = Unclosed;
    qsizetype start = 0, end = 0; // the tag, in the text
    bool operator==(const Problem &) const = default;
};

// The problems of `text` (UTF-8) read after `context` (start tags the text stands in;
// empty for a whole page), in order; positions in `text`.
std::vector<Problem> problems(const QByteArray &text, const QByteArray &context = {});

// The problems of `after`, a whole page, that `before` did not have where the same
// text stands in it: what a change made the parser read otherwise.
std::vector<Problem> introduced(const QByteArray &before, const QByteArray &after);

} // namespace lumipage::markupproblems
