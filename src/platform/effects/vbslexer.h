#pragma once

#include <QList>
#include <QString>

namespace lumipage::vbs
{

// One token of a script line. Identifiers and keywords keep their spelling in `text`
// and carry the lower-case form in `key`, since every name of the language is
// case-insensitive.
struct Token {
    enum Kind { Name, Number, String, Op, Colon, End };
    Kind kind = End;
    QString text;
    QString key;
    int line = 0;
};

// A logical line: physical lines joined by `_` continuations, comments dropped.
// Statements on it are separated by Colon tokens; `line` is where it starts.
struct Line {
    QList<Token> tokens;
    int line = 0;
};

// Splits script text into logical lines. `firstLine` is the number of its first line
// (a block inside a page starts where it stands). A character the language does not
// know is kept as an Op token so that the statement holding it is reported.
QList<Line> tokenize(const QString &source, int firstLine = 1);

} // namespace lumipage::vbs
