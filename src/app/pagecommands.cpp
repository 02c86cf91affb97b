#include "app/pagecommands.h"

#include "app/commandtables.h"
#include "app/mainwindow.h"
#include "dialogs/elements/backgroundimagedialog.h"
#include "dialogs/elements/backgroundmarkup.h"
#include "dialogs/elements/linkdialog.h"
#include "dialogs/elements/tabledialog.h"
#include "platform/commondialog.h"
#include "platform/editing/editingcomponent.h"
#include "source/sourcewindow.h"

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
    procedures.insert(QStringLiteral("cmd_iro"), [this] { cmd_iro(); });
    procedures.insert(QStringLiteral("cmd_hyou"), [this] { cmd_hyou(); });
    procedures.insert(QStringLiteral("cmd_link_set"), [this] { cmd_link_set(); });
    procedures.insert(QStringLiteral("cmd_image_back"), [this] { cmd_image_back(); });
    procedures.insert(QStringLiteral("delete_background"), [this] { delete_background(); });
    procedures.insert(QStringLiteral("show_source"), [this] { show_source(); });
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

void PageCommands::cmd_iro()
{
    if (!m_palette)
        m_palette = new PaletteWindow(*m_window.editor());
    m_palette->showAtCorner();
}

void PageCommands::cmd_hyou()
{
    TableDialog dialog(m_window);
    dialog.prefill(QStringLiteral("border=1 bordercolor=gray cellPadding=1 cellSpacing=1 width=5%"),
                   QStringLiteral("bgcolor=white align=left"));
    dialog.exec();
}

void PageCommands::cmd_link_set()
{
    LinkDialog dialog(*m_window.editor(), m_window.commonDialog(), &m_window);
    dialog.exec();
}

void PageCommands::cmd_image_back()
{
    BackgroundImageDialog dialog(m_window);
    dialog.exec();
}

void PageCommands::delete_background()
{
    // Takes off what the dialog added, also after the component has written the tag anew.
    const QString html =
        removeBackground(m_window.editor()->DocumentHTML(), m_window.shared().background_attr);
    m_window.Text7 = html;
    m_window.editor()->setDocumentHTML(html);
}

void PageCommands::show_source()
{
    const QString html = m_window.editor()->DocumentHTML();
    if (!html.isEmpty() || m_window.Text2.isEmpty())
        m_window.Text2 = html;
    m_window.Text2.replace(QStringLiteral("Microsoft DHTML Editing Control"),
                           QStringLiteral("PROJECT VeLD Editor"));
    SourceWindow window(*m_window.editor(), m_window.shared(), m_window.commonDialog(),
                        m_window.Text2, &m_window);
    window.exec();
}

} // namespace lumipage
