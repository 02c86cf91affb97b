#include "insert/insertioncontroller.h"

#include "dialogs/effects/alphatextdialog.h"
#include "dialogs/effects/blendimagedialog.h"
#include "dialogs/effects/colourbuttonsdialog.h"
#include "dialogs/effects/glowtextdialog.h"
#include "dialogs/effects/revealimagedialog.h"
#include "dialogs/effects/revealtextdialog.h"
#include "dialogs/effects/shadowtextdialog.h"
#include "dialogs/effects/wavetextdialog.h"
#include "dialogs/elements/buttondialog.h"
#include "dialogs/elements/floatingframedialog.h"
#include "dialogs/elements/marqueedialog.h"
#include "dialogs/elements/ruledialog.h"
#include "dialogs/elements/selectitemsdialog.h"
#include "dialogs/elements/tabledialog.h"
#include "insert/scriptmerge.h"
#include "platform/editing/editingcomponent.h"
#include "platform/messages.h"
#include "widgets/effectpreview.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>

namespace lumipage
{

namespace
{

const QString kElementPlaceholder = QStringLiteral("Control");
const QString kEffectsPlaceholder = QStringLiteral("DynamicHtml");

// The element list in list order: a fixed fragment pasted at once, or a dialog.
struct ElementEntry {
    const char *name;
    const char *fragment;
    void (*open)(InsertionController &);
};

void openButton(InsertionController &c)
{
    ButtonDialog dialog(c.commonDialog(), c.editor().window());
    c.runElementDialog(dialog);
}
void openSelectItems(InsertionController &c)
{
    SelectItemsDialog dialog(c.editor().window());
    c.runElementDialog(dialog);
}
void openFloatingFrame(InsertionController &c)
{
    FloatingFrameDialog dialog(c.commonDialog(), c.editor().window());
    c.runElementDialog(dialog);
}
void openRule(InsertionController &c)
{
    RuleDialog dialog(c.programFolder(), c.editor().window());
    c.runElementDialog(dialog);
}
void openMarquee(InsertionController &c)
{
    MarqueeDialog dialog(c.editor().window());
    c.runElementDialog(dialog);
}

// clang-format off
const ElementEntry kElements[] = {
    {"ボタン",                 nullptr,                                   openButton},
    {"テキストボックス",       "<INPUT TYPE=\"text\" NAME=\"textbox1\">", nullptr},
    {"テキストエリア",         "<TEXTAREA></TEXTAREA>",                   nullptr},
    {"選択ボックス",           nullptr,                                   openSelectItems},
    {"フローティングフレーム", nullptr,                                   openFloatingFrame},
    {"チェックボタン",         "<INPUT TYPE=\"checkbox\">",               nullptr},
    {"オプションボタン",       "<INPUT TYPE=\"radio\">",                  nullptr},
    {"水平罫線",               nullptr,                                   openRule},
    {"マーキー",               nullptr,                                   openMarquee},
};
// clang-format on

// The reveal openers look for a script once more, with a message of their own.
bool refuseRevealWhenScripted(InsertionController &c)
{
    return c.refuseWhenScripted(
        QStringLiteral("既にSCRIPTは使用されています。削除してから再度選択してください。"));
}
void openRevealText(InsertionController &c)
{
    if (refuseRevealWhenScripted(c))
        return;
    RevealTextDialog dialog(c.programFolder(), c.editor().window());
    c.runEffectDialog(dialog);
}
void openRevealImage(InsertionController &c)
{
    if (refuseRevealWhenScripted(c))
        return;
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

// clang-format off
// The effects list in list order: the pending effect it sets (-1: unchanged) and the
// opener of its dialog.
struct EffectEntry {
    const char *name;
    qint16 code;
    void (*open)(InsertionController &);
};
const EffectEntry kEffects[] = {
    {"初めにお読み下さい。",    -1, nullptr},
    {"RevealTransition(Text)",  10, openRevealText},
    {"RevealTransition(Image)", 20, openRevealImage},
    {"BlendFilter",             80, openBlend},
    {"影付き文字",              30, openShadow},
    {"波文字",                  40, openWave},
    {"燃える文字",              50, openGlow},
    {"消える文字",              60, openAlpha},
    {"ﾏｳｽで色が変わる文字",     70, openColourButtons},
};
// clang-format on

} // namespace

InsertionController::InsertionController(EditingComponent &editor, CommonDialog &commonDialog,
                                         QComboBox &elementList, QComboBox &effectsList,
                                         const QString &programFolder, QObject *parent)
    : QObject(parent), m_editor(editor), m_commonDialog(commonDialog), m_elements(elementList),
      m_effects(effectsList), m_programFolder(programFolder)
{
    m_elements.installEventFilter(this);
    m_effects.installEventFilter(this);
    connect(&m_elements, &QComboBox::activated, this, &InsertionController::chooseElement);
    connect(&m_effects, &QComboBox::activated, this, &InsertionController::chooseEffect);
}

QString InsertionController::pageFolder() const
{
    const QString path = m_pagePath ? m_pagePath() : QString();
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

void InsertionController::fillLists()
{
    m_elements.clear();
    for (const ElementEntry &entry : kElements)
        m_elements.addItem(QString::fromUtf8(entry.name));
    m_effects.clear();
    for (const EffectEntry &entry : kEffects)
        m_effects.addItem(QString::fromUtf8(entry.name));
    m_elements.setEditText(kElementPlaceholder);
    m_effects.setEditText(kEffectsPlaceholder);
}

void InsertionController::chooseElement()
{
    const QString text = m_elements.currentText();
    for (const ElementEntry &entry : kElements) {
        if (text != QString::fromUtf8(entry.name))
            continue;
        if (entry.open)
            entry.open(*this);
        else
            pasteFragment(QString::fromUtf8(entry.fragment));
        return;
    }
}

bool InsertionController::refuseWhenScripted(const QString &message)
{
    if (!m_editor.DocumentHTML().contains(QStringLiteral("<SCRIPT type")))
        return false;
    messages::inform(m_editor.window(), message);
    return true;
}

void InsertionController::chooseEffect()
{
    // One script per page: nothing starts while the page already holds one.
    if (refuseWhenScripted(QStringLiteral("既にVbscriptコードが記述されています。")))
        return;
    const QString text = m_effects.currentText();
    for (const EffectEntry &entry : kEffects) {
        if (text != QString::fromUtf8(entry.name))
            continue;
        if (entry.code < 0) {
            emit readMeRequested();
            return;
        }
        m_shared.effect_code = entry.code; // before the dialog opens
        if (entry.open)
            entry.open(*this);
        return;
    }
    m_shared.effect_code = 0;
}

bool InsertionController::pasteFragment(const QString &fragment)
{
    m_shared.insert_html = fragment;
    if (m_editor.pasteHTML(m_shared.insert_html))
        return true;
    messages::warn(m_editor.window(), m_editor.lastError());
    return false;
}

void InsertionController::paste(const BuildResult &built)
{
    if (built.isFragment())
        pasteFragment(built.text);
    else if (built.isProblem())
        messages::inform(m_editor.window(), built.text);
}

void InsertionController::runEffect(const EffectRequest &request)
{
    if (request.withScript)
        pasteWithScript(request);
    else
        pasteFragment(request.fragment);
}

void InsertionController::pasteWithScript(const EffectRequest &request)
{
    pasteFragment(request.fragment);
    mergeEffectScript(request);
}

void InsertionController::startPreview(QDialog &dialog)
{
    auto *preview = dialog.findChild<EffectPreview *>();
    if (!preview)
        return;
    // A template that cannot be read leaves the preview with the element alone; the
    // merge on OK reports the problem.
    const QString file = effectTemplateFile(m_shared.effect_code);
    QString problem;
    const QString text =
        file.isEmpty() ? QString()
                       : readEffectTemplate(m_programFolder + QLatin1Char('/') + file, &problem)
                             .value_or(QString());
    // The preview lies beside the page, so the images it names relatively show.
    const QString folder = pageFolder().isEmpty() ? m_programFolder : pageFolder();
    preview->setPageMaker(
        [code = m_shared.effect_code, text](const EffectRequest &request) {
            return effectPreviewPage(code, text, request);
        },
        folder + QStringLiteral("/lumipage-preview.htm"));
}

void InsertionController::mergeEffectScript(const EffectRequest &request)
{
    // With no pending effect (a code other than 10 … 80) nothing is read or pasted.
    const QString file = effectTemplateFile(m_shared.effect_code);
    if (file.isEmpty())
        return;
    QString problem;
    const std::optional<QString> text =
        readEffectTemplate(m_programFolder + QLatin1Char('/') + file, &problem);
    if (!text) {
        messages::warn(m_editor.window(), problem);
        return;
    }
    const ScriptMerge merged =
        lumipage::mergeEffectScript(m_shared.effect_code, *text, request, m_editor.DocumentHTML());
    switch (merged.outcome) {
    case ScriptMerge::Outcome::NoScript:
        break;
    case ScriptMerge::Outcome::Refused:
        messages::inform(m_editor.window(), merged.text);
        m_shared.effect_code = 0;
        break;
    case ScriptMerge::Outcome::Block:
        pasteFragment(merged.text);
        break;
    }
}

void InsertionController::insertTable()
{
    TableDialog dialog(m_editor, m_editor.window());
    dialog.prefill(QStringLiteral("border=1 bordercolor=gray cellPadding=1 cellSpacing=1 width=5%"),
                   QStringLiteral("bgcolor=white align=left"));
    dialog.exec();
}

bool InsertionController::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving a list puts its placeholder back, whatever it held.
    if (event->type() == QEvent::FocusOut) {
        if (watched == &m_elements)
            m_elements.setEditText(kElementPlaceholder);
        else if (watched == &m_effects)
            m_effects.setEditText(kEffectsPlaceholder);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumipage
