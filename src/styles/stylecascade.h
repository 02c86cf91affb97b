#pragma once

#include "platform/markup/cssparser.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace lumipage::styles
{

// Where a declaration stands, so that an edit finds it again.
enum class Where { Attribute, StyleElement, Sheet, Presentational };

// A sheet's text read once, kept while the text stays as it is (a big sheet is not read
// again on every caret move).
struct ParsedText {
    explicit ParsedText(const QString &text) : sheet(text), top(sheet.parseStylesheet()) {}
    css::Sheet sheet;
    css::Block top;
};

// One sheet as the style panel reads it: its text with our parse, where it stands and
// whether it may be written.
struct SheetSource {
    std::shared_ptr<const ParsedText> parsed; // the text's parse, when already made
    QString text;                             // decoded
    QString label;          // "style.css", or empty for a style element of the page
    QString path;           // the file, for a linked or imported sheet
    int firstLine = 1;      // the page's line where a style element's text begins
    QString readOnlyReason; // why the sheet cannot be written, or empty
};

// One row of the panel: one declaration of a rule (or one presentational attribute) that
// applies to the element or is inherited from an ancestor.
struct StyleRow {
    QString selector; // the rule's selector; 「style 属性」; 「<FONT COLOR>」
    QString place;    // 「ページ内 12行」, 「style.css:48」, 「要素の属性」
    QString property;
    QString value;
    QString media;      // the @media conditions the rule is under, joined by " and "
    QString inherited;  // for a row inherited from an ancestor: that ancestor ("H1#top")
    QString equivalent; // a presentational attribute's CSS: "color: red"
    bool important = false;
    bool overridden = false; // a later or stronger declaration wins
    bool disabled = false;   // switched off as a comment
    QString readOnlyReason;  // why it cannot be edited here, or empty

    Where where = Where::Attribute;
    int ordinal = -1;    // the element whose attribute it is
    int sheet = -1;      // the sheet, as the page's answer numbers them
    int styleIndex = -1; // the page's style element
    QList<int> path;     // the rule's place among its parents' rules, as the engine has it
    qsizetype declarationStart = -1; // in the sheet's or attribute's text
};

// Reads the sheet `index` of the page's answer: its text and place (nullopt when it
// cannot be read; its rules are then left out).
using SheetReader = std::function<std::optional<SheetSource>(int index, const QVariantMap &sheet)>;

// The panel's rows for the page runtime's answer (styleMatches): the element's own
// declarations first, in cascade order (the winning rule first: !important, the style
// attribute, specificity, then the later in the page), overridden ones marked; then the
// inherited properties of each ancestor, nearest first; presentational attributes last
// among the element's own, with their CSS equivalents. Our own reading of each sheet
// gives the places; a rule the engine matched that our reading does not find is left out.
// A sheet on a server (http, https, ftp) is listed last as one read-only row with the
// reason, its rules not being ours to read.
QList<StyleRow> cascadeRows(const QVariantMap &answer, const SheetReader &readSheet);

// The rule of `sheet` at the engine's `path` (its place among its parent's rules at each
// level), checked against the engine's `selectorText`; the engine leaves out rules it
// cannot read (a bad selector, an unknown at-rule, @charset), so the place is looked for
// from there on.
const css::Rule *ruleAt(const css::Sheet &sheet, const QList<css::Rule> &rules,
                        const QList<int> &path, const QString &selectorText);

// Whether a property passes from an element to its children.
bool isInherited(const QString &property);

// The CSS a presentational attribute stands for ("bgcolor", "#fff" on TD →
// "background-color: #fff").
QString cssEquivalent(const QString &element, const QString &attribute, const QString &value);

} // namespace lumipage::styles
