#pragma once

#include "fragments/dialogresult.h"
#include "widgets/randomidfield.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

// The alpha-text dialog `Form16`: opacity and gradient style, the id drawn at opening
// and the action. On OK it keeps the request and closes.
class AlphaTextDialog : public QDialog
{
    Q_OBJECT
public:
    // `draw` draws the id (empty: the clock's).
    AlphaTextDialog(const IdDraw &draw, QWidget *parent);

    // What OK built; empty until then.
    EffectRequest request() const { return m_request; }

private:
    EffectRequest m_request;
    QLineEdit *m_opacity;
    QComboBox *m_style;
    RandomIdField *m_id;
    QComboBox *m_action;
};

} // namespace lumipage
