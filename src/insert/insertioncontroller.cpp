#include "insert/insertioncontroller.h"

#include "dialogs/elements/buttondialog.h"
#include "dialogs/elements/floatingframedialog.h"
#include "dialogs/elements/marqueedialog.h"
#include "dialogs/elements/ruledialog.h"
#include "dialogs/elements/selectitemsdialog.h"
#include "dialogs/elements/tabledialog.h"
#include "insert/effectdialogs.h"
#include "insert/effectkinds.h"
#include "insert/scriptmerge.h"
#include "platform/browsing/browseprofile.h"
#include "platform/desktop/messages.h"
#include "platform/editing/editingcomponent.h"
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
    for (const EffectKindRow &row : effectKinds())
        m_effects.addItem(QString::fromUtf8(row.listName));
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

void InsertionController::chooseEffect()
{
    const EffectKindRow *row = effectKindRow(m_effects.currentText());
    if (!row)
        return;
    if (row->kind == EffectKind::None) {
        emit readMeRequested();
        return;
    }
    // One script per page: nothing starts while the page already holds one. What the page
    // mentions also serves the merge, since nothing edits the page while the dialog is open.
    const std::optional<EditingComponent::ScriptPresence> presence = askScripts(*row);
    if (!presence) {
        messages::warn(m_editor.window(), m_editor.lastError());
        return;
    }
    if (row->oneScriptPerPage && presence->script) {
        messages::inform(m_editor.window(),
                         QStringLiteral("既にVbscriptコードが記述されています。"));
        return;
    }
    m_pending = PendingEffect{row->kind, presence->mentions, loadTemplate(row->kind)};
    openEffectDialog(row->kind, *this);
    m_pending.reset();
}

std::optional<EditingComponent::ScriptPresence>
InsertionController::askScripts(const EffectKindRow &row) const
{
    return m_editor.scriptPresence(row.scriptRule == ScriptRule::RefusesOnOnload
                                       ? QString::fromLatin1(kOnloadHandler)
                                       : QString());
}

InsertionController::EffectTemplate InsertionController::loadTemplate(EffectKind kind) const
{
    const QString file = effectTemplateFile(kind);
    if (file.isEmpty())
        return {};
    EffectTemplate loaded;
    loaded.text = readEffectTemplate(m_programFolder + QLatin1Char('/') + file, &loaded.problem);
    return loaded;
}

bool InsertionController::pasteFragment(const QString &fragment)
{
    if (m_editor.pasteHTML(fragment))
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
    const EffectKindRow *row = effectKindRow(request.kind);
    if (!request.withScript || !row || !*row->templateFile) {
        pasteFragment(request.fragment);
        return;
    }
    // The template and the page's answer from when the effect was chosen, or now.
    const bool pending = m_pending && m_pending->kind == request.kind;
    const EffectTemplate script = pending ? m_pending->script : loadTemplate(request.kind);
    if (!script.text) {
        pasteFragment(request.fragment);
        messages::warn(m_editor.window(), script.problem);
        return;
    }
    bool mentionsOnload = pending && m_pending->mentionsOnload;
    if (!pending) {
        const std::optional<EditingComponent::ScriptPresence> presence = askScripts(*row);
        mentionsOnload = presence && presence->mentions;
    }
    const ScriptMerge merged =
        mergeEffectScript(request.kind, *script.text, request, mentionsOnload);
    if (merged.outcome == ScriptMerge::Outcome::Refused) {
        pasteFragment(request.fragment);
        messages::inform(m_editor.window(), merged.text);
        return;
    }
    // The element and its script go in as one paste: one step to undo, the script right
    // behind the element.
    pasteFragment(merged.outcome == ScriptMerge::Outcome::Block ? request.fragment + merged.text
                                                                : request.fragment);
}

void InsertionController::startPreview(QDialog &dialog, EffectKind kind)
{
    auto *preview = dialog.findChild<EffectPreview *>();
    if (!preview)
        return;
    // A template that cannot be read leaves the preview with the element alone; the
    // insertion on OK reports the problem.
    const QString text = m_pending && m_pending->script.text ? *m_pending->script.text : QString();
    // The preview lies beside the page, so the images it names relatively show.
    const QString folder = pageFolder().isEmpty() ? m_programFolder : pageFolder();
    if (!m_previewProfile)
        m_previewProfile = new BrowseProfile(this);
    preview->shareProfile(m_previewProfile);
    preview->setPageMaker(
        [kind, text](EffectRequest request) {
            request.kind = kind;
            return effectPreviewPage(kind, text, request);
        },
        folder + QStringLiteral("/lumipage-preview.htm"));
}

void InsertionController::insertTable()
{
    // An empty count inserts nothing; other counts are checked by the component, which
    // says why it refuses.
    TableDialog dialog(
        [this](const InsertTableParam &param) -> std::optional<QString> {
            if (param.NumRows.isEmpty() || param.NumCols.isEmpty() ||
                m_editor.ExecCommand(decmd::INSERTTABLE, CommandOption::Default,
                                     QVariant::fromValue(param)))
                return std::nullopt;
            return m_editor.lastError();
        },
        m_editor.window());
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
