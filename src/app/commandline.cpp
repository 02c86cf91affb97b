#include "app/commandline.h"

#include <QFileInfo>

namespace lumipage
{

std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString *error)
{
    CommandLine line;
    QStringList rest = arguments;
    const auto absolute = [](const QString &path) { return QFileInfo(path).absoluteFilePath(); };
    if (!rest.isEmpty() && rest.first() == QLatin1String("--screenshot")) {
        rest.removeFirst();
        if (rest.isEmpty()) {
            *error = QStringLiteral("--screenshot needs the PNG file to write");
            return std::nullopt;
        }
        line.mode = CommandLine::Mode::Screenshot;
        line.screenshot = absolute(rest.takeFirst());
    } else if (!rest.isEmpty() && rest.first() == QLatin1String("--print-html")) {
        rest.removeFirst();
        if (rest.size() != 1) {
            *error = QStringLiteral("--print-html needs exactly one HTML file");
            return std::nullopt;
        }
        line.mode = CommandLine::Mode::PrintHtml;
    }
    if (rest.size() > 1) {
        *error = QStringLiteral("only one page can be opened at a time");
        return std::nullopt;
    }
    if (!rest.isEmpty()) {
        if (rest.first().startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option %1").arg(rest.first());
            return std::nullopt;
        }
        line.file = absolute(rest.first());
    }
    return line;
}

} // namespace lumipage
