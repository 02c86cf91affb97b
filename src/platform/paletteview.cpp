#include "platform/paletteview.h"

#include <QCoreApplication>
#include <QWebEngineSettings>

namespace lumipage
{

PaletteView::PaletteView(QWidget *parent) : QWebEngineView(parent)
{
    setObjectName(QStringLiteral("WebBrowser1"));
    setContextMenuPolicy(Qt::NoContextMenu);
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    load(
        QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/color.htm")));
}

} // namespace lumipage
