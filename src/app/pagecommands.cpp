#include "app/pagecommands.h"

#include "app/commandtables.h"
#include "app/mainwindow.h"
#include "dialogs/elements/backgroundimagedialog.h"
#include "dialogs/elements/linkdialog.h"
#include "insert/insertioncontroller.h"
#include "platform/commondialog.h"
#include "platform/editing/editingcomponent.h"
#include "source/sourcewindow.h"
#include "widgets/backgroundmarkup.h"

#include <QAction>

namespace lumipage
{

PageCommands::PageCommands(MainWindow &window) : m_window(window) {}

PageCommands::~PageCommands()
{
    delete m_palette;
}

void PageCommands::registerProcedures(QHash<QString, std::function<void()>> &procedures)
{
    for (const CommandRow &row : kCommands) {
        const int command = row.command, option = row.option, kind = int(row.value);
        procedures.insert(QString::fromLatin1(row.procedure), [this, command, option, kind] {
            commandProcedure(command, option, kind);
        });
    }
    procedures.insert(QStringLiteral("cmd_iro"), [this] { showPalette(); });
    procedures.insert(QStringLiteral("cmd_link_set"), [this] { setLink(); });
    procedures.insert(QStringLiteral("cmd_image_back"), [this] { setBackgroundImage(); });
    procedures.insert(QStringLiteral("delete_background"), [this] { removeBackgroundImage(); });
    procedures.insert(QStringLiteral("show_source"), [this] { showSource(); });
}

void PageCommands::execCommand(int command, int option, const QVariant &value)
{
    m_window.editor()->ExecCommand(command, option,
                                   value); // failures change nothing and say nothing
}

void PageCommands::commandProcedure(int command, int option, int valueKind)
{
    switch (CommandValue(valueKind)) {
    case CommandValue::None:
        execCommand(command, option);
        break;
    case CommandValue::One:
        execCommand(command, option, QVariant::fromValue<qint16>(1));
        break;
    case CommandValue::Colour:
        if (const auto colour = m_window.commonDialog().showColor(&m_window))
            execCommand(command, option, QVariant::fromValue<qint32>(qint32(colorValue(*colour))));
        break;
    }
}

void PageCommands::showPalette()
{
    if (!m_palette)
        m_palette = new PaletteWindow(*m_window.editor(), m_window.insertion().programFolder());
    m_palette->showAtCorner();
}

void PageCommands::setLink()
{
    LinkDialog dialog(*m_window.editor(), m_window.commonDialog(), &m_window);
    dialog.exec();
}

void PageCommands::setBackgroundImage()
{
    BackgroundImageDialog dialog(*m_window.editor(), m_window.commonDialog(), &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const BackgroundImageDialog::Outcome outcome = dialog.outcome();
    SharedValues &shared = m_window.insertion().shared();
    shared.bg_properties = outcome.properties;
    shared.background_attr = outcome.backgroundAttr;
    if (outcome.rewritten())
        m_window.pageSnapshot = outcome.page;
    m_window.toolbarButton(QStringLiteral("del_imageback"))->setEnabled(outcome.rewritten());
}

void PageCommands::removeBackgroundImage()
{
    // Takes off what the dialog added, also after the component has written the tag anew.
    const QString html = removeBackground(m_window.editor()->DocumentHTML(),
                                          m_window.insertion().shared().background_attr);
    m_window.pageSnapshot = html;
    m_window.editor()->setDocumentHTML(html);
}

void PageCommands::showSource()
{
    const QString html = m_window.editor()->DocumentHTML();
    if (!html.isEmpty() || m_window.sourceText.isEmpty())
        m_window.sourceText = html;
    m_window.sourceText.replace(QStringLiteral("Microsoft DHTML Editing Control"),
                                QStringLiteral("PROJECT VeLD Editor"));
    SourceWindow window(*m_window.editor(), m_window.commonDialog(), m_window.sourceText,
                        &m_window);
    window.exec();
}

} // namespace lumipage
