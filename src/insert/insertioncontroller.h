#pragma once

#include "insert/sharedvalues.h"
#include "widgets/dialogresult.h"

#include <QDialog>
#include <QObject>
#include <QString>

#include <functional>

class QComboBox;

namespace lumipage
{

class CommonDialog;
class EditingComponent;

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
    // The effects list's choice: refused while the page holds a script; otherwise sets
    // the pending effect and opens its dialog.
    void chooseEffect();

    // Pastes `fragment` at the caret, in place of the selection; a refusal is reported.
    bool pasteFragment(const QString &fragment);
    // Pastes what a dialog built: a fragment is pasted, a problem shown, nothing ignored.
    void paste(const BuildResult &built);
    // Pastes an effect's element and, when the request asks for it, the pending effect's
    // merged script behind it.
    void runEffect(const EffectRequest &request);
    // Pastes the element, then merges and pastes the pending effect's script.
    void pasteWithScript(const EffectRequest &request);
    // The script merge: reads the pending effect's template, fills it from `request` and
    // pastes the block; a refusal is shown and resets the pending effect.
    void mergeEffectScript(const EffectRequest &request);

    // Runs an effect dialog modally and, on OK, its request (`dialog.request()`).
    template <typename Dialog> void runEffectDialog(Dialog &dialog)
    {
        startPreview(dialog);
        if (dialog.exec() == QDialog::Accepted)
            runEffect(dialog.request());
    }
    // Runs an element dialog modally and, on OK, pastes what it built (`dialog.built()`).
    template <typename Dialog> void runElementDialog(Dialog &dialog)
    {
        if (dialog.exec() == QDialog::Accepted)
            paste(dialog.built());
    }
    // Gives an effect dialog's live preview the pending effect's script template, so
    // that it shows the element with its merged script while the dialog is open.
    void startPreview(QDialog &dialog);
    // The one-script test: true (after showing `message`) when the page holds a script.
    bool refuseWhenScripted(const QString &message);

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
    std::function<QString()> m_pagePath;
    SharedValues m_shared;
};

} // namespace lumipage
