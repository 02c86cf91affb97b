#pragma once

#include "fragments/dialogresult.h"
#include "widgets/randomidfield.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

class ColourField;

// The shadow-text dialog `Form13`: shadow colour and direction, the id drawn at
// opening and the action. On OK it keeps the request and closes.
class ShadowTextDialog : public QDialog
{
    Q_OBJECT
public:
    // `programFolder` holds the palette page; `draw` draws the id (empty: the clock's).
    ShadowTextDialog(const QString &programFolder, const IdDraw &draw, QWidget *parent);

    // What OK built; empty until then.
    EffectRequest request() const { return m_request; }

private:
    EffectRequest m_request;
    ColourField *m_colour;
    QLineEdit *m_direction;
    RandomIdField *m_id;
    QComboBox *m_action;
};

} // namespace lumipage
