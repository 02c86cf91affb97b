#pragma once

#include "fragments/dialogresult.h"
#include "insert/sharedvalues.h"
#include "platform/editing/editingcomponent.h"

#include <QDialog>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QComboBox;

namespace lumipage
{

class BrowseProfile;
class CommonDialog;
struct EffectKindRow;

// The one road by which fragments reach the page: the element list `Combo1`, the effects
// list `Combo2`, the paste of a fragment at the caret, the paste of an effect with its
// merged script, and table insertion. Owns the values shared for the whole run; the
// dialogs it opens are modal over the surface's window and hand back what they built.
class InsertionController : public QObject
{
    Q_OBJECT
public:
    // `programFolder` holds the script templates and the palette page.
    InsertionController(EditingComponent &editor, CommonDialog &commonDialog,
                        QComboBox &elementList, QComboBox &effectsList,
                        const QString &programFolder, QObject *parent = nullptr);

    SharedValues &shared() { return m_shared; }
    const QString &programFolder() const { return m_programFolder; }
    // Tells where the open page's file lies (empty for a new page), asked at each use.
    void setPagePathSource(std::function<QString()> source) { m_pagePath = std::move(source); }
    // The open page's folder, empty for a new page: files chosen in the effect dialogs
    // inside it are written relative to it.
    QString pageFolder() const;

    // Clears both lists, fills them in list order and shows their placeholders.
    void fillLists();
    // The element list's choice: a fixed fragment pasted at once, or its dialog.
    void chooseElement();
    // The effects list's choice: refused while the page holds a script; otherwise keeps
    // the pending effect, reads its template once and opens its dialog.
    void chooseEffect();

    // Pastes `fragment` at the caret, in place of the selection; a refusal is reported.
    bool pasteFragment(const QString &fragment);
    // Pastes what a dialog built: a fragment is pasted, a problem shown, nothing ignored.
    void paste(const BuildResult &built);
    // Inserts an effect: its element and, when the request asks for it, its kind's
    // script merged behind it, as one paste and so one undo step. A template that cannot
    // be read, or a merge the page refuses, leaves the element alone and says why.
    void runEffect(const EffectRequest &request);

    // Runs the pending effect's dialog modally and, on OK, inserts its request.
    template <typename Dialog> void runEffectDialog(Dialog &dialog)
    {
        const EffectKind kind = m_pending ? m_pending->kind : EffectKind::None;
        startPreview(dialog, kind);
        if (dialog.exec() != QDialog::Accepted)
            return;
        EffectRequest request = dialog.request();
        request.kind = kind;
        runEffect(request);
    }
    // Runs an element dialog modally and, on OK, pastes what it built (`dialog.built()`).
    template <typename Dialog> void runElementDialog(Dialog &dialog)
    {
        if (dialog.exec() == QDialog::Accepted)
            paste(dialog.built());
    }

    // Opens the table dialog with its attribute defaults; it inserts the table itself.
    void insertTable();

    EditingComponent &editor() const { return m_editor; }
    CommonDialog &commonDialog() const { return m_commonDialog; }

signals:
    // The effects list's first entry was chosen: the read-me "attension.txt" is wanted.
    void readMeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EditingComponent &m_editor;
    CommonDialog &m_commonDialog;
    QComboBox &m_elements;
    QComboBox &m_effects;
    QString m_programFolder;
    // The effect previews' profile, made with the first and kept for the run.
    BrowseProfile *m_previewProfile = nullptr;
    // A script template as read: its text, or why it could not be read.
    struct EffectTemplate {
        std::optional<QString> text;
        QString problem;
    };
    // The effect whose dialog is open: its kind, whether the page mentioned an onload
    // handler when it was chosen, and its template.
    struct PendingEffect {
        EffectKind kind;
        bool mentionsOnload;
        EffectTemplate script;
    };
    EffectTemplate loadTemplate(EffectKind kind) const;
    // Asks the page what `row`'s checks need: whether it holds a script and, for an
    // effect its onload handler refuses, whether it mentions one.
    std::optional<EditingComponent::ScriptPresence> askScripts(const EffectKindRow &row) const;
    // Gives an effect dialog's live preview its kind's script template, so that it shows
    // the element with its merged script while the dialog is open.
    void startPreview(QDialog &dialog, EffectKind kind);

    std::function<QString()> m_pagePath;
    SharedValues m_shared;
    std::optional<PendingEffect> m_pending;
};

} // namespace lumipage
