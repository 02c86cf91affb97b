#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lumipage
{

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Mode { Edit, Screenshot, PrintHtml };
    Mode mode = Mode::Edit;
    QString file;       // page to open (absolute), may be empty
    QString screenshot; // PNG to write in Screenshot mode
};

// Parses the arguments after the program name; nullopt with `error` set on misuse.
std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString *error);

} // namespace lumipage
