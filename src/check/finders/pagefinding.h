#pragma once

#include <QList>
#include <QString>

namespace lumipage::check
{

// What a finding is about, as the check panel groups them.
enum class FindingKind {
    File,          // missing files, absolute local paths
    Html,          // what an HTML validator reports
    Accessibility, // what keeps visitors with assistive technology or poor sight out
    Spelling,      // misspelt English words
    Image,         // pictures heavier than the page needs, turned, or telling where taken
};

// The kind as the panel shows it (「ファイル」, 「HTML」, 「アクセシビリティ」, 「スペル」,
// 「画像」).
QString kindName(FindingKind kind);

// One problem on the page.
struct PageFinding {
    FindingKind kind = FindingKind::Html;
    QString message;  // in Japanese, for the user
    int line = 0;     // line in the checked text, from 1; 0 when it has none
    QString element;  // the element's name in upper case ("TABLE"); empty when none
    int ordinal = -1; // the element's place among the page's elements in document order
                      // (the number the editing surface and the source pane select by)

    bool operator==(const PageFinding &) const = default;
};

// Findings in page order: by line, those without a line first; otherwise as found.
void sortByLine(QList<PageFinding> &findings);

} // namespace lumipage::check
