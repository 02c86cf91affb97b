#include "platform/desktop/paletteview.h"

#include <QWebEngineSettings>

namespace lumipage
{

PaletteView::PaletteView(const QString &programFolder, QWidget *parent) : QWebEngineView(parent)
{
    setObjectName(QStringLiteral("WebBrowser1"));
    setContextMenuPolicy(Qt::NoContextMenu);
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    load(QUrl::fromLocalFile(programFolder + QStringLiteral("/color.htm")));
}

} // namespace lumipage
