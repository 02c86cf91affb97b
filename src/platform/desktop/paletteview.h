#pragma once

#include <QWebEngineView>

namespace lumipage
{

// A small read-only browser showing the palette page "color.htm" from the program's
// folder (`programFolder`); colour names selected in it can be dragged into a text field.
class PaletteView : public QWebEngineView
{
    Q_OBJECT
public:
    explicit PaletteView(const QString &programFolder, QWidget *parent = nullptr);
};

} // namespace lumipage
