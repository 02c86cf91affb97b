#include "insert/effectdialogs.h"

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

namespace lumipage
{

void openEffectDialog(EffectKind kind, InsertionController &c)
{
    QWidget *window = c.editor().window();
    switch (kind) {
    case EffectKind::None:
        return;
    case EffectKind::RevealText: {
        RevealTextDialog dialog(c.programFolder(), window);
        return c.runEffectDialog(dialog);
    }
    case EffectKind::RevealImage: {
        RevealImageDialog dialog(c.commonDialog(), c.pageFolder(), window);
        return c.runEffectDialog(dialog);
    }
    case EffectKind::Blend: {
        BlendImageDialog dialog(c.commonDialog(), c.pageFolder(), {}, window);
        return c.runEffectDialog(dialog);
    }
    case EffectKind::Shadow: {
        ShadowTextDialog dialog(c.programFolder(), {}, window);
        return c.runEffectDialog(dialog);
    }
    case EffectKind::Wave: {
        WaveTextDialog dialog({}, window);
        return c.runEffectDialog(dialog);
    }
    case EffectKind::Glow: {
        GlowTextDialog dialog(c.programFolder(), {}, window);
        return c.runEffectDialog(dialog);
    }
    case EffectKind::Alpha: {
        AlphaTextDialog dialog({}, window);
        return c.runEffectDialog(dialog);
    }
    case EffectKind::ColourButtons: {
        ColourButtonsDialog dialog(c.commonDialog(), c.programFolder(), c.pageFolder(), window);
        return c.runEffectDialog(dialog);
    }
    }
}

} // namespace lumipage
