#pragma once

#include "fragments/dialogresult.h"
#include "widgets/randomidfield.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

// The wave-text dialog `Form14`: wave strength, count and light, the id drawn at
// opening and the action. On OK it keeps the request and closes.
class WaveTextDialog : public QDialog
{
    Q_OBJECT
public:
    // `draw` draws the id (empty: the clock's).
    WaveTextDialog(const IdDraw &draw, QWidget *parent);

    // What OK built; empty until then.
    EffectRequest request() const { return m_request; }

private:
    EffectRequest m_request;
    QLineEdit *m_strength;
    QLineEdit *m_waves;
    QLineEdit *m_light;
    RandomIdField *m_id;
    QComboBox *m_action;
};

} // namespace lumipage
