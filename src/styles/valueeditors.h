#pragma once

#include "platform/desktop/commondialog.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;

namespace lumipage
{

// The editors beside the style panel's value line that fit the current row's property: a
// colour button (`styleColour`, the program's colour dialog), a number with its unit
// (`styleLength`, `styleLengthUnit`), the font list (`styleFont`: the generic families,
// then the system's fonts) and, for margin, padding and border-width, the box diagram
// (`styleBox`: a field a side, `styleBoxTop`, `styleBoxRight`, `styleBoxBottom`,
// `styleBoxLeft`, round the property's name). Each only writes its choice into the line,
// in the form the value there is written; the line stays the one place where a value is
// applied (Enter there, or in a side's field).
class ValueEditors : public QWidget
{
    Q_OBJECT
public:
    ValueEditors(QLineEdit &line, QWidget *parent = nullptr);

    // Shows the editor for `property` with the line's value; none when `editable` is false.
    // `attribute`: a presentational attribute's value, `property` its CSS equivalent's.
    void showFor(const QString &property, bool editable, bool attribute);

signals:
    // Enter in an editor's own field: the line's value is to be applied.
    void applyRequested();

private:
    void chooseColour();
    void lengthChanged();
    void put(const QString &value);
    void sideEdited();

    QLineEdit &m_line;
    QToolButton *m_colour = nullptr;
    QDoubleSpinBox *m_length = nullptr;
    QComboBox *m_unit = nullptr;
    QComboBox *m_font = nullptr;
    QFrame *m_box = nullptr;
    QLabel *m_boxName = nullptr;
    QList<QLineEdit *> m_sides; // top, right, bottom, left
    CommonDialog m_dialog;
};

} // namespace lumipage
