#pragma once

#include <QMetaType>
#include <QString>

namespace lumipage
{

// The published command numbers of the editing component.
namespace decmd
{
inline constexpr int BOLD = 5000;
inline constexpr int COPY = 5002;
inline constexpr int CUT = 5003;
inline constexpr int DELETE_ = 5004;
inline constexpr int DELETECELLS = 5005;
inline constexpr int DELETECOLS = 5006;
inline constexpr int DELETEROWS = 5007;
inline constexpr int FINDTEXT = 5008;
inline constexpr int FONT = 5009;
inline constexpr int HYPERLINK = 5016;
inline constexpr int IMAGE = 5017;
inline constexpr int INDENT = 5018;
inline constexpr int INSERTCELL = 5019;
inline constexpr int INSERTCOL = 5020;
inline constexpr int INSERTROW = 5021;
inline constexpr int INSERTTABLE = 5022;
inline constexpr int ITALIC = 5023;
inline constexpr int JUSTIFYCENTER = 5024;
inline constexpr int JUSTIFYLEFT = 5025;
inline constexpr int JUSTIFYRIGHT = 5026;
inline constexpr int MAKE_ABSOLUTE = 5028;
inline constexpr int ORDERLIST = 5030;
inline constexpr int OUTDENT = 5031;
inline constexpr int PASTE = 5032;
inline constexpr int REDO = 5033;
inline constexpr int REMOVEFORMAT = 5034;
inline constexpr int SELECTALL = 5035;
inline constexpr int SEND_BELOW_TEXT = 5038;
inline constexpr int BRING_ABOVE_TEXT = 5039;
inline constexpr int SETBACKCOLOR = 5042;
inline constexpr int SETFORECOLOR = 5046;
inline constexpr int UNDERLINE = 5048;
inline constexpr int UNDO = 5049;
inline constexpr int UNLINK = 5050;
inline constexpr int UNORDERLIST = 5051;
} // namespace decmd

// Every command number by the name the page runtime knows it by: the runtime receives
// this table from the editor and repeats no number of its own.
struct CommandName {
    const char *name;
    int number;
};
inline constexpr CommandName kCommandNames[] = {
    {"BOLD", decmd::BOLD},
    {"COPY", decmd::COPY},
    {"CUT", decmd::CUT},
    {"DELETE", decmd::DELETE_},
    {"DELETECELLS", decmd::DELETECELLS},
    {"DELETECOLS", decmd::DELETECOLS},
    {"DELETEROWS", decmd::DELETEROWS},
    {"FINDTEXT", decmd::FINDTEXT},
    {"FONT", decmd::FONT},
    {"HYPERLINK", decmd::HYPERLINK},
    {"IMAGE", decmd::IMAGE},
    {"INDENT", decmd::INDENT},
    {"INSERTCELL", decmd::INSERTCELL},
    {"INSERTCOL", decmd::INSERTCOL},
    {"INSERTROW", decmd::INSERTROW},
    {"INSERTTABLE", decmd::INSERTTABLE},
    {"ITALIC", decmd::ITALIC},
    {"JUSTIFYCENTER", decmd::JUSTIFYCENTER},
    {"JUSTIFYLEFT", decmd::JUSTIFYLEFT},
    {"JUSTIFYRIGHT", decmd::JUSTIFYRIGHT},
    {"MAKE_ABSOLUTE", decmd::MAKE_ABSOLUTE},
    {"ORDERLIST", decmd::ORDERLIST},
    {"OUTDENT", decmd::OUTDENT},
    {"PASTE", decmd::PASTE},
    {"REDO", decmd::REDO},
    {"REMOVEFORMAT", decmd::REMOVEFORMAT},
    {"SELECTALL", decmd::SELECTALL},
    {"SEND_BELOW_TEXT", decmd::SEND_BELOW_TEXT},
    {"BRING_ABOVE_TEXT", decmd::BRING_ABOVE_TEXT},
    {"SETBACKCOLOR", decmd::SETBACKCOLOR},
    {"SETFORECOLOR", decmd::SETFORECOLOR},
    {"UNDERLINE", decmd::UNDERLINE},
    {"UNDO", decmd::UNDO},
    {"UNLINK", decmd::UNLINK},
    {"UNORDERLIST", decmd::UNORDERLIST},
};

// Status answers of QueryStatus, as the page runtime sends them; only Enabled counts as
// available.
enum class CommandStatus {
    NotAvailable = 1,
    Enabled = 3,
    Latched = 7,
};

// Whether ExecCommand may ask the user first (the image command's dialog).
enum class CommandOption {
    Default = 0,
    Prompt = 1,
    DontPrompt = 2,
};

// The editing aids the page runtime draws, never saved; the value is the number the
// runtime knows each by.
enum class EditingAid {
    TableOutlines = 9,    // dotted outlines of borderless tables
    HiddenAndPlaced = 11, // hidden elements ghosted, positioned objects outlined
};

// Every command number the program asks about, for the one-round-trip status snapshot.
inline constexpr int kQueriedCommands[] = {
    decmd::BOLD,
    decmd::COPY,
    decmd::CUT,
    decmd::DELETE_,
    decmd::DELETECELLS,
    decmd::DELETECOLS,
    decmd::DELETEROWS,
    decmd::FINDTEXT,
    decmd::FONT,
    decmd::HYPERLINK,
    decmd::IMAGE,
    decmd::INDENT,
    decmd::INSERTCELL,
    decmd::INSERTCOL,
    decmd::INSERTROW,
    decmd::INSERTTABLE,
    decmd::ITALIC,
    decmd::JUSTIFYCENTER,
    decmd::JUSTIFYLEFT,
    decmd::JUSTIFYRIGHT,
    decmd::MAKE_ABSOLUTE,
    decmd::ORDERLIST,
    decmd::OUTDENT,
    decmd::PASTE,
    decmd::REDO,
    decmd::REMOVEFORMAT,
    decmd::SELECTALL,
    decmd::SEND_BELOW_TEXT,
    decmd::BRING_ABOVE_TEXT,
    decmd::SETBACKCOLOR,
    decmd::SETFORECOLOR,
    decmd::UNDERLINE,
    decmd::UNDO,
    decmd::UNLINK,
    decmd::UNORDERLIST,
};

// The parameters of DECMD_INSERTTABLE, all as the user typed them.
struct InsertTableParam {
    QString NumRows;
    QString NumCols;
    QString TableAttrs;
    QString CellAttrs;
    QString Caption;
};

// Why the table counts are refused, or an empty text when they are whole numbers in range.
QString tableCountsProblem(const InsertTableParam &param);

} // namespace lumipage

Q_DECLARE_METATYPE(lumipage::InsertTableParam)
