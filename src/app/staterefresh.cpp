#include "app/staterefresh.h"

#include "commands/commandactions.h"
#include "app/commandtables.h"
#include "app/document.h"
#include "insert/sharedvalues.h"
#include "platform/editing/editingcomponent.h"
#include "widgets/backgroundmarkup.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

StateRefresh::StateRefresh(EditingComponent &editor, Document &document, CommandActions &actions,
                           const SharedValues &shared, Controls controls)
    : m_editor(editor), m_document(document), m_actions(actions), m_shared(shared),
      m_controls(std::move(controls))
{
    QObject::connect(&editor, &EditingComponent::DisplayChanged, &actions, [this] { refresh(); });
    for (const LatchRow &row : kLatched)
        actions.action(row.action)->setCheckable(true);
    actions.setHandler(CommandId::Browse, [this] { enterBrowseMode(); });
    actions.setHandler(CommandId::Edit, [this] { enterEditMode(); });
}

void StateRefresh::enterBrowseMode()
{
    m_editor.setBrowseMode(true);
    QLineEdit *indicator = m_controls.modeIndicator;
    indicator->setText(QStringLiteral("実行モード"));
    indicator->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    // Statements the effects runtime cannot run are told once per run of the page, on
    // the indicator, rather than only in the engine's console.
    const QStringList leftOut = m_editor.statementsLeftOut();
    indicator->setToolTip(
        leftOut.isEmpty()
            ? QString()
            : QStringLiteral("このページのスクリプトのうち、次の文は実行されません。\n") +
                  leftOut.join(QLatin1Char('\n')));
    refresh();
}

void StateRefresh::enterEditMode()
{
    m_editor.setBrowseMode(false);
    QLineEdit *indicator = m_controls.modeIndicator;
    indicator->setText(QStringLiteral("編集モード"));
    indicator->setStyleSheet(QString()); // the default text-box background
    indicator->setToolTip(QString());
    refresh();
}

void StateRefresh::refresh()
{
    m_editor.setEditingAid(EditingAid::HiddenAndPlaced, true);
    m_editor.setEditingAid(EditingAid::TableOutlines, true);

    // Background test: positions count from 1, an empty text is found at 1.
    m_backgroundPosition = findBackground(m_document.snapshot(), m_shared.background_attr);
    const bool background = m_backgroundPosition >= 2;
    m_actions.setEnabled(CommandId::RemoveBackground, background);
    m_actions.setEnabled(CommandId::BackgroundImage, !background);

    const bool browsing = m_editor.BrowseMode();
    bool listsEnabled = true;
    for (const RefreshRow &row : kRefresh) {
        const bool available = m_editor.QueryStatus(row.command) == CommandStatus::Enabled;
        m_actions.setEnabled(row.action, available);
        if (row.objectButton >= 0)
            m_controls.objectButtons.at(row.objectButton)->setEnabled(available);
        if (row.setsLists)
            listsEnabled = !available;
    }
    for (const LatchRow &row : kLatched)
        m_actions.action(row.action)
            ->setChecked(m_editor.QueryStatus(row.command) == CommandStatus::Latched);
    // The lists insert into the page, which browse mode does not edit.
    m_controls.elementList->setEnabled(listsEnabled && !browsing);
    m_controls.effectsList->setEnabled(listsEnabled && !browsing);

    m_actions.setEnabled(CommandId::Browse, !browsing);
    m_actions.setEnabled(CommandId::Edit, browsing);
    m_actions.setEnabled(CommandId::BrowserPreview, !browsing);
}

} // namespace lumipage
