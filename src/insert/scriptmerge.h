#pragma once

#include "fragments/dialogresult.h"

#include <QString>

#include <optional>

namespace lumipage
{

// The script template of an effect, e.g. "shadow.vbs"; empty for none.
QString effectTemplateFile(EffectKind kind);

// What a page mentions when it already has the handler the filter-text scripts define.
inline constexpr char kOnloadHandler[] = "window_onload()";

// Reads a template file: UTF-8, or windows-31j when the bytes are not valid UTF-8; lines
// end at CR, CR LF or LF, and every line, the last one included, ends with CR LF after
// reading. Nothing, with `problem` naming the file, when it cannot be read.
std::optional<QString> readEffectTemplate(const QString &path, QString *problem);

// A value as it may stand inside a VBScript string literal of a template: `"` doubled,
// line breaks joined in with Chr(13) / Chr(10), and "</SCRIPT" split so it cannot end
// the script block.
QString vbStringValue(const QString &value);

// What the script merge made: no script for this code, the script block to paste, or a
// refusal to show (the page already has a window_onload() handler).
struct ScriptMerge {
    enum class Outcome { NoScript, Block, Refused };
    Outcome outcome = Outcome::NoScript;
    QString text; // the block, or the refusal's message

    bool operator==(const ScriptMerge &) const = default;
};

// The script merge of effect `kind`: the template text with the placeholders of its row
// replaced in order by the request's values (each replacement works on the result of the
// one before, so a value holding a later placeholder has it replaced in turn), wrapped in
// "<DIV><SCRIPT TYPE =text/vbscript>" … "</SCRIPT></DIV>". An effect whose row refuses on
// an onload handler is refused when `pageMentionsOnload` (the page mentions
// kOnloadHandler).
ScriptMerge mergeEffectScript(EffectKind kind, const QString &templateText,
                              const EffectRequest &request, bool pageMentionsOnload);

// The page an effect dialog's live preview shows for `request`: the element alone in
// an empty body and, when the request asks for it, the merged script of `kind` behind
// it. The preview page holds no other script, so nothing refuses the merge.
QString effectPreviewPage(EffectKind kind, const QString &templateText,
                          const EffectRequest &request);

} // namespace lumipage
