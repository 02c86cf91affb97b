#include "insert/effectkinds.h"

#include <array>

namespace lumipage
{

namespace
{

using K = EffectKind;
using R = EffectRequest;

constexpr Placeholder kFilterText[] = {{"[VELD ID]", &R::effectId}};
constexpr Placeholder kColourButtons[] = {{"[color1]", &R::color1}, {"[color2]", &R::color2}};
constexpr Placeholder kBlend[] = {
    {"[IMGID]", &R::effectId}, {"[GAZOU1]", &R::image1}, {"[GAZOU2]", &R::image2}};

// clang-format off
const std::array<EffectKindRow, 9> kEffectKinds = {{
    {"初めにお読み下さい。",    K::None,          "",                     {},              false, ScriptRule::None,            false},
    {"RevealTransition(Text)",  K::RevealText,    "vbscript.veld",        {},              false, ScriptRule::None,            true},
    {"RevealTransition(Image)", K::RevealImage,   "image_vbscript.veld",  {},              false, ScriptRule::None,            true},
    {"BlendFilter",             K::Blend,         "blendfilter.vbs",      kBlend,          false, ScriptRule::None,            true},
    {"影付き文字",              K::Shadow,        "shadow.vbs",           kFilterText,     false, ScriptRule::RefusesOnOnload, true},
    {"波文字",                  K::Wave,          "wave.vbs",             kFilterText,     false, ScriptRule::RefusesOnOnload, true},
    {"燃える文字",              K::Glow,          "glow.vbs",             kFilterText,     false, ScriptRule::RefusesOnOnload, true},
    {"消える文字",              K::Alpha,         "alpha.vbs",            kFilterText,     false, ScriptRule::RefusesOnOnload, true},
    {"ﾏｳｽで色が変わる文字",     K::ColourButtons, "moji_colorChange.vbs", kColourButtons,  true,  ScriptRule::None,            true},
}};
// clang-format on

} // namespace

std::span<const EffectKindRow> effectKinds()
{
    return kEffectKinds;
}

const EffectKindRow *effectKindRow(EffectKind kind)
{
    if (kind == EffectKind::None)
        return nullptr;
    for (const EffectKindRow &row : kEffectKinds)
        if (row.kind == kind)
            return &row;
    return nullptr;
}

const EffectKindRow *effectKindRow(const QString &listName)
{
    for (const EffectKindRow &row : kEffectKinds)
        if (listName == QString::fromUtf8(row.listName))
            return &row;
    return nullptr;
}

} // namespace lumipage
