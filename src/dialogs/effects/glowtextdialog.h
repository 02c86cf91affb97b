#pragma once

#include "fragments/dialogresult.h"
#include "widgets/randomidfield.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

class ColourField;

// The glow-text dialog `Form15`: glow colour and strength, the id drawn at opening and
// the action. On OK it keeps the request and closes.
class GlowTextDialog : public QDialog
{
    Q_OBJECT
public:
    // `programFolder` holds the palette page; `draw` draws the id (empty: the clock's).
    GlowTextDialog(const QString &programFolder, const IdDraw &draw, QWidget *parent);

    // What OK built; empty until then.
    EffectRequest request() const { return m_request; }

private:
    EffectRequest m_request;
    ColourField *m_colour;
    QLineEdit *m_strength;
    RandomIdField *m_id;
    QComboBox *m_action;
};

} // namespace lumipage
