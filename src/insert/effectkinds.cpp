#include "insert/effectkinds.h"

#include "dialogs/effects/alphatextdialog.h"
#include "dialogs/effects/blendimagedialog.h"
#include "dialogs/effects/colourbuttonsdialog.h"
#include "dialogs/effects/glowtextdialog.h"
#include "dialogs/effects/revealimagedialog.h"
#include "dialogs/effects/revealtextdialog.h"
#include "dialogs/effects/shadowtextdialog.h"
#include "dialogs/effects/wavetextdialog.h"
#include "insert/insertioncontroller.h"
#include "platform/editing/editingcomponent.h"

#include <array>

namespace lumipage
{

namespace
{

void openRevealText(InsertionController &c)
{
    RevealTextDialog dialog(c.programFolder(), c.editor().window());
    c.runEffectDialog(dialog);
}
void openRevealImage(InsertionController &c)
{
    RevealImageDialog dialog(c.commonDialog(), c.pageFolder(), c.editor().window());
    c.runEffectDialog(dialog);
}
void openBlend(InsertionController &c)
{
    BlendImageDialog dialog(c.commonDialog(), c.pageFolder(), {}, c.editor().window());
    c.runEffectDialog(dialog);
}
void openShadow(InsertionController &c)
{
    ShadowTextDialog dialog(c.programFolder(), {}, c.editor().window());
    c.runEffectDialog(dialog);
}
void openWave(InsertionController &c)
{
    WaveTextDialog dialog({}, c.editor().window());
    c.runEffectDialog(dialog);
}
void openGlow(InsertionController &c)
{
    GlowTextDialog dialog(c.programFolder(), {}, c.editor().window());
    c.runEffectDialog(dialog);
}
void openAlpha(InsertionController &c)
{
    AlphaTextDialog dialog({}, c.editor().window());
    c.runEffectDialog(dialog);
}
void openColourButtons(InsertionController &c)
{
    ColourButtonsDialog dialog(c.commonDialog(), c.programFolder(), c.pageFolder(),
                               c.editor().window());
    c.runEffectDialog(dialog);
}

using K = EffectKind;

// clang-format off
const std::array<EffectKindRow, 9> kEffectKinds = {{
    {"初めにお読み下さい。",    K::None,          "",                     false, nullptr},
    {"RevealTransition(Text)",  K::RevealText,    "vbscript.veld",        true,  openRevealText},
    {"RevealTransition(Image)", K::RevealImage,   "image_vbscript.veld",  true,  openRevealImage},
    {"BlendFilter",             K::Blend,         "blendfilter.vbs",      true,  openBlend},
    {"影付き文字",              K::Shadow,        "shadow.vbs",           true,  openShadow},
    {"波文字",                  K::Wave,          "wave.vbs",             true,  openWave},
    {"燃える文字",              K::Glow,          "glow.vbs",             true,  openGlow},
    {"消える文字",              K::Alpha,         "alpha.vbs",            true,  openAlpha},
    {"ﾏｳｽで色が変わる文字",     K::ColourButtons, "moji_colorChange.vbs", true,  openColourButtons},
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

} // namespace lumipage
