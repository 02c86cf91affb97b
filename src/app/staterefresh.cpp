#include "app/staterefresh.h"

#include "app/commandtables.h"
#include "app/mainwindow.h"
#include "insert/insertioncontroller.h"
#include "platform/editing/editingcomponent.h"
#include "widgets/backgroundmarkup.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

StateRefresh::StateRefresh(MainWindow &window) : m_window(window)
{
    EditingComponent *editor = window.editor();
    QObject::connect(editor, &EditingComponent::DocumentComplete, &window,
                     [this] { m_window.pageSnapshot = m_window.editor()->DocumentHTML(); });
    QObject::connect(editor, &EditingComponent::GotFocus, &window,
                     [this] { m_window.editor()->setOption(30, true); });
    QObject::connect(editor, &EditingComponent::DisplayChanged, &window, [this] { refresh(); });
}

void StateRefresh::registerProcedures(QHash<QString, std::function<void()>> &procedures)
{
    procedures.insert(QStringLiteral("Command3_Click"), [this] { enterBrowseMode(); });
    procedures.insert(QStringLiteral("Command4_Click"), [this] { enterEditMode(); });
    procedures.insert(QStringLiteral("toolbar_go_browse"), [this] {
        m_window.toolbarButton(QStringLiteral("go_browse"))->setEnabled(false);
        m_window.toolbarButton(QStringLiteral("go_edit"))->setEnabled(true);
        enterBrowseMode();
    });
    procedures.insert(QStringLiteral("toolbar_go_edit"), [this] {
        m_window.toolbarButton(QStringLiteral("go_edit"))->setEnabled(false);
        m_window.toolbarButton(QStringLiteral("go_browse"))->setEnabled(true);
        enterEditMode();
    });
    procedures.insert(QStringLiteral("go_browse_Click"), [this] {
        m_window.toolbarButton(QStringLiteral("go_browse"))->setEnabled(false);
        m_window.toolbarButton(QStringLiteral("go_edit"))->setEnabled(true);
        enterBrowseMode();
        m_window.menuItem(QStringLiteral("go_browse"))->setEnabled(false);
        m_window.menuItem(QStringLiteral("go_hennsyuu"))->setEnabled(true);
    });
    procedures.insert(QStringLiteral("go_hennsyuu_Click"), [this] {
        m_window.toolbarButton(QStringLiteral("go_edit"))->setEnabled(false);
        m_window.toolbarButton(QStringLiteral("go_browse"))->setEnabled(true);
        enterEditMode();
        m_window.menuItem(QStringLiteral("go_browse"))->setEnabled(true);
        m_window.menuItem(QStringLiteral("go_hennsyuu"))->setEnabled(false);
    });
}

void StateRefresh::enterBrowseMode()
{
    m_window.editor()->setBrowseMode(true);
    QLineEdit *indicator = m_window.modeIndicator();
    indicator->setText(QStringLiteral("実行モード"));
    indicator->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    // Statements the effects runtime cannot run are told once per run of the page, on
    // the indicator, rather than only in the engine's console.
    const QStringList leftOut = m_window.editor()->statementsLeftOut();
    indicator->setToolTip(
        leftOut.isEmpty()
            ? QString()
            : QStringLiteral("このページのスクリプトのうち、次の文は実行されません。\n") +
                  leftOut.join(QLatin1Char('\n')));
    m_window.toolbarButton(QStringLiteral("go_browse"))->setEnabled(false);
    m_window.toolbarButton(QStringLiteral("go_edit"))->setEnabled(true);
    m_window.elementList()->setEnabled(false);
    m_window.effectsList()->setEnabled(false);
}

void StateRefresh::enterEditMode()
{
    m_window.editor()->setBrowseMode(false);
    QLineEdit *indicator = m_window.modeIndicator();
    indicator->setText(QStringLiteral("編集モード"));
    indicator->setStyleSheet(QString()); // the default text-box background
    indicator->setToolTip(QString());
    m_window.toolbarButton(QStringLiteral("go_edit"))->setEnabled(false);
    m_window.toolbarButton(QStringLiteral("go_browse"))->setEnabled(true);
    m_window.elementList()->setEnabled(true);
    m_window.effectsList()->setEnabled(true);
}

void StateRefresh::refresh()
{
    EditingComponent &editor = *m_window.editor();
    editor.setOption(11, true);
    editor.setOption(9, true);

    // Background test: positions count from 1, an empty text is found at 1.
    m_backgroundPosition =
        findBackground(m_window.pageSnapshot, m_window.insertion().shared().background_attr);
    const bool background = m_backgroundPosition >= 2;
    m_window.toolbarButton(QStringLiteral("del_imageback"))->setEnabled(background);
    m_window.toolbarButton(QStringLiteral("image_back"))->setEnabled(!background);
    m_window.menuItem(QStringLiteral("haikeisettei"))->setEnabled(!background);
    m_window.menuItem(QStringLiteral("deletehaikei"))->setEnabled(background);

    for (const RefreshRow &row : kRefresh) {
        const bool available = editor.QueryStatus(row.command) == StatusEnabled;
        if (*row.toolbarButton)
            m_window.toolbarButton(QString::fromLatin1(row.toolbarButton))->setEnabled(available);
        m_window.menuItem(QString::fromLatin1(row.menuItem))->setEnabled(available);
        if (row.objectButton >= 0)
            m_window.objectButton(row.objectButton)->setEnabled(available);
        if (row.setsLists) {
            m_window.elementList()->setEnabled(!available);
            m_window.effectsList()->setEnabled(!available);
        }
    }

    const bool browsing = editor.BrowseMode();
    m_window.toolbarButton(QStringLiteral("ie"))->setEnabled(!browsing);
    m_window.menuItem(QStringLiteral("go_ie40"))->setEnabled(!browsing);
}

} // namespace lumipage
