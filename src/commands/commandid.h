#pragma once

namespace lumipage
{

// Every command of the main window, by what it does. The menu bar, the toolbar, the
// object buttons and the context menu all reach a command through its id, so a misspelt
// command is a compile error rather than a click that silently does nothing.
enum class CommandId {
    NewDocument,
    OpenFile,
    SaveFile,
    ExportModern,
    Exit,
    InsertTable,
    InsertCell,
    InsertColumn,
    InsertRow,
    DeleteCells,
    DeleteColumns,
    DeleteRows,
    AlignLeft,
    AlignCenter,
    AlignRight,
    TextColour,
    TextBackColour,
    Copy,
    Cut,
    Paste,
    Undo,
    Redo,
    Underline,
    Bold,
    Italic,
    SetLink,
    RemoveLink,
    ShowSource,
    InsertImage,
    Indent,
    Outdent,
    Font,
    SelectAll,
    Delete,
    PageColour,
    Browse,
    Edit,
    Find,
    BulletList,
    NumberedList,
    Help,
    BrowserPreview,
    BackgroundImage,
    RemoveBackground,
    RemoveFormat,
    MakeAbsolute,
    BringAbove,
    SendBelow,
    Author,
    AboutScript,
    ReadMe,
    KeepMarkup,
    PageCheck,
    SourcePane,
    SpellCheck,
    Print,
    SavePdf,
    OptimizePagePictures,
    PublishTarget,
    PublishSite,
    StylePanel,
    Count // not a command: the number of commands
};

constexpr int kCommandCount = int(CommandId::Count);

} // namespace lumipage
