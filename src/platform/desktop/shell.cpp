#include "platform/desktop/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace lumipage
{

void Shell::open(const QString &path)
{
    const QUrl url = path.contains(QLatin1String("://")) ? QUrl(path) : QUrl::fromLocalFile(path);
    QDesktopServices::openUrl(url);
}

} // namespace lumipage
