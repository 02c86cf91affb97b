#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumipage {

class EditingComponent;

// The background-colour palette `Form8`: a top-most tool window beside the main
// window; every change of its colour box is applied to the page's background at once.
class PaletteWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PaletteWindow(EditingComponent &editor, QWidget *parent = nullptr);

    // Shows the window top-most at the screen's corner, 160 × 305, without the focus.
    void showAtCorner();

private:
    void Text1_Change(const QString &text);

    EditingComponent &m_editor;
    QLineEdit *m_colour;
    QPushButton *m_swatch;
    QPushButton *m_marker;
};

} // namespace lumipage
