#pragma once

#include "platform/commondialog.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QToolButton;

namespace lumipage
{

// The editors beside the style panel's value line that fit the current row's property: a
// colour button (`styleColour`, the program's colour dialog), a number with its unit
// (`styleLength`, `styleLengthUnit`) and the font list (`styleFont`: the generic families,
// then the system's fonts). Each only writes its choice into the line, in the form the
// value there is written; the line stays the one place where a value is applied (Enter).
class ValueEditors : public QWidget
{
    Q_OBJECT
public:
    ValueEditors(QLineEdit &line, QWidget *parent = nullptr);

    // Shows the editor for `property` with the line's value; none when `editable` is false.
    // `attribute`: a presentational attribute's value, `property` its CSS equivalent's.
    void showFor(const QString &property, bool editable, bool attribute);

private:
    void chooseColour();
    void lengthChanged();
    void put(const QString &value);

    QLineEdit &m_line;
    QToolButton *m_colour = nullptr;
    QDoubleSpinBox *m_length = nullptr;
    QComboBox *m_unit = nullptr;
    QComboBox *m_font = nullptr;
    CommonDialog m_dialog;
};

} // namespace lumipage
