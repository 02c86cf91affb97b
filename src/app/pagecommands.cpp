#include "app/pagecommands.h"

#include "app/commandtables.h"
#include "app/document.h"
#include "app/palettewindow.h"
#include "commands/commandactions.h"
#include "dialogs/elements/backgroundimagedialog.h"
#include "dialogs/elements/linkdialog.h"
#include "insert/insertioncontroller.h"
#include "platform/desktop/commondialog.h"
#include "platform/editing/editingcomponent.h"
#include "source/sourcewindow.h"
#include "widgets/backgroundmarkup.h"

#include <QAction>

namespace lumipage
{

PageCommands::PageCommands(EditingComponent &editor, CommonDialog &commonDialog, Document &document,
                           InsertionController &insertion, CommandActions &actions, QWidget &window)
    : m_editor(editor), m_commonDialog(commonDialog), m_document(document), m_insertion(insertion),
      m_actions(actions), m_window(window)
{
    for (const CommandRow &row : kCommands) {
        actions.setHandler(row.id,
                           [this, row] { runCommandRow(row.command, row.option, row.value); });
    }
    actions.setHandler(CommandId::PageColour, [this] { showPalette(); });
    actions.setHandler(CommandId::SetLink, [this] { setLink(); });
    actions.setHandler(CommandId::BackgroundImage, [this] { setBackgroundImage(); });
    actions.setHandler(CommandId::RemoveBackground, [this] { removeBackgroundImage(); });
    actions.setHandler(CommandId::ShowSource, [this] { showSource(); });
}

PageCommands::~PageCommands()
{
    delete m_palette;
}

void PageCommands::execCommand(int command, CommandOption option, const QVariant &value)
{
    m_editor.ExecCommand(command, option,
                         value); // failures change nothing and say nothing
}

void PageCommands::runCommandRow(int command, CommandOption option, CommandValue value)
{
    switch (value) {
    case CommandValue::None:
        execCommand(command, option);
        break;
    case CommandValue::One:
        execCommand(command, option, QVariant::fromValue<qint16>(1));
        break;
    case CommandValue::Colour:
        if (const auto colour = m_commonDialog.showColor(&m_window))
            execCommand(command, option, QVariant::fromValue<qint32>(qint32(colorValue(*colour))));
        break;
    }
}

void PageCommands::showPalette()
{
    if (!m_palette)
        m_palette = new PaletteWindow(m_editor, m_insertion.programFolder());
    m_palette->showAtCorner();
}

void PageCommands::setLink()
{
    LinkDialog dialog(m_commonDialog, &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The target goes to the component exactly as typed or chosen.
    m_editor.ExecCommand(decmd::HYPERLINK, CommandOption::DontPrompt, dialog.target());
    m_editor.Refresh();
}

void PageCommands::setBackgroundImage()
{
    BackgroundImageDialog dialog(m_commonDialog, &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const auto [picture, properties] = dialog.choice();
    SharedValues &shared = m_insertion.shared();
    shared.background_attr = backgroundAttr(picture, properties);
    bool rewritten = false;
    // No body tag, or the text starts with it: the page stays as it is.
    if (m_editor.DocumentHTML().indexOf(QStringLiteral("<BODY")) > 0) {
        // The body's attributes change in place, as one undo step; the whole value is the
        // picture's name, spaces and all.
        const qsizetype equals = properties.indexOf(QLatin1Char('='));
        rewritten =
            m_editor.setBodyAttributes({{QStringLiteral("background"), picture},
                                        {properties.left(equals), properties.mid(equals + 1)}});
        if (rewritten)
            m_document.setSnapshot(m_editor.DocumentHTML());
    }
    m_actions.setEnabled(CommandId::RemoveBackground, rewritten);
}

void PageCommands::removeBackgroundImage()
{
    // Takes off the picture and its scrolling as one undo step, whatever order the
    // attributes stand in.
    m_editor.setBodyAttributes(
        {{QStringLiteral("background"), QString()}, {QStringLiteral("bgproperties"), QString()}});
    m_document.markUnchanged(); // the design keeps the page as it now stands as its snapshot
}

void PageCommands::showSource()
{
    // The text a save would write: the author's own markup where the page was not edited.
    const QString html = m_editor.preservedHTML();
    QString text = m_document.sourceText();
    if (!html.isEmpty() || text.isEmpty())
        text = html;
    text.replace(QStringLiteral("Microsoft DHTML Editing Control"),
                 QStringLiteral("PROJECT VeLD Editor"));
    m_document.setSourceText(text);
    SourceWindow window(m_editor, m_commonDialog, m_document.sourceText(), &m_window);
    window.exec();
}

} // namespace lumipage
