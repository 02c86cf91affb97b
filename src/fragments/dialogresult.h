#pragma once

#include <QString>

#include <array>

namespace lumipage
{

// What a dialog's builder made of its fields: a fragment to paste, a problem to show
// (the dialog stays open so the user can mend the field), or nothing to insert.
struct BuildResult {
    enum class Kind { Nothing, Fragment, Problem };
    Kind kind = Kind::Nothing;
    QString text; // the fragment, or the problem's message

    static BuildResult fragment(const QString &markup) { return {Kind::Fragment, markup}; }
    static BuildResult problem(const QString &message) { return {Kind::Problem, message}; }
    static BuildResult nothing() { return {}; }
    bool isFragment() const { return kind == Kind::Fragment; }
    bool isProblem() const { return kind == Kind::Problem; }
    bool operator==(const BuildResult &) const = default;
};

// The effects the program inserts, in the order of the effects list.
enum class EffectKind {
    None,
    RevealText,
    RevealImage,
    Blend,
    Shadow,
    Wave,
    Glow,
    Alpha,
    ColourButtons,
};

// What an effect dialog hands back on OK: the element to paste at the caret and the
// values its script template needs. The insertion controller pastes the element and,
// when `withScript` is set, the template of its kind merged behind it, in one paste.
struct EffectRequest {
    QString fragment;                    // the element pasted at the caret
    bool withScript = true;              // false: the element only (filter text without action)
    QString effectId;                    // replaces "[VELD ID]" and "[IMGID]"
    QString color1;                      // replaces "[color1]"
    QString color2;                      // replaces "[color2]"
    std::array<QString, 10> linkTargets; // replace "[LINK0]" … "[LINK9]"
    QString image1;                      // replaces "[GAZOU1]"
    QString image2;                      // replaces "[GAZOU2]"
    EffectKind kind = EffectKind::None;  // which effect: its template and its checks
    bool operator==(const EffectRequest &) const = default;
};

} // namespace lumipage
