#pragma once

#include <QWidget>

namespace lumipage
{

class ColourField;
class EditingComponent;

// The background-colour palette `Form8`: a top-most tool window beside the main
// window; every change of its colour box is applied to the page's background at once.
class PaletteWindow : public QWidget
{
    Q_OBJECT
public:
    // `programFolder` holds the palette page "color.htm".
    PaletteWindow(EditingComponent &editor, const QString &programFolder,
                  QWidget *parent = nullptr);

    // Shows the window top-most at the screen's corner, 160 × 305, without the focus.
    void showAtCorner();

private:
    EditingComponent &m_editor;
    ColourField *m_colour;
};

} // namespace lumipage
