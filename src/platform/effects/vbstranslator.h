#pragma once

#include <QList>
#include <QString>

namespace lumipage::vbs
{

// A script block of the page and the page line it starts on.
struct ScriptBlock {
    QString text;
    int firstLine = 1;
};

// An event attribute to run as script: `event` is the attribute name in lower case,
// `source` its value as the engine reads it (entities decoded).
struct InlineHandler {
    QString event;
    QString source;
    int line = 1;
};

// Something the translation left out, at a page line.
struct Problem {
    int line = 0;
    QString message;
};

struct Translation {
    // A JavaScript function expression that, called with the effects runtime's helpers
    // (see effectsScript()), registers the page's procedures, top-level code and
    // handlers with them and starts them.
    QString script;
    QList<Problem> problems;
};

// Translates the page's blocks (one shared name space, as in the page) and its inline
// handlers. A statement the translation does not know is left out and reported with
// its line; everything else still runs.
Translation translate(const QList<ScriptBlock> &blocks, const QList<InlineHandler> &handlers = {});

// The lower-case names of the procedures the blocks define.
QStringList procedureNames(const QList<ScriptBlock> &blocks);

// The members of the runtime's helpers that the translation names through its tables:
// built-in functions ("f.len"), constants ("k.vbcrlf") and operators ("add").
QStringList tableHelpers();

// A JavaScript string literal for `text` that cannot end the script element holding it.
QString jsString(const QString &text);

} // namespace lumipage::vbs
