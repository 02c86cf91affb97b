#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumipage::check
{

// What libtidy reported, by its message code's name ("MISSING_ENDTAG_BEFORE") and the
// values its message names (element names as "<p>" or bare, attribute names, ids).
struct TidyReport {
    QByteArray code;
    QStringList arguments;
    int line = 0; // in the text tidy was given; 0 for the document as a whole
    int column = 0;
};

// How a reported code reads in the panel.
struct TidyText {
    QString message;
    // Listed once for each element or attribute it names, at its first place, with the
    // number of the others: obsolete markup repeats all over an old page.
    bool summarised = false;
};

// Our own Japanese text for a report; an unknown code reads as its code name. nullopt
// for the codes left out: tidy's notes on its own repairs of what another report already
// names, and matters another finder reports (an image's alt, a table's summary).
std::optional<TidyText> tidyMessageText(const TidyReport &report);
// The codes that have a text of their own, and those left out.
QList<QByteArray> mappedTidyCodes();
QList<QByteArray> omittedTidyCodes();
// The text a summarised finding carries for `others` more places ("（ほか 3 箇所）").
QString othersSuffix(int others);

} // namespace lumipage::check
