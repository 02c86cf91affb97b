#pragma once

#include "fragments/dialogresult.h"

#include <QDialog>

class QComboBox;

namespace lumipage
{

class ColourField;
class TransitionBox;

// The text-reveal dialog `Form6`: transition, alignment and background colour of the
// block veld. On OK it keeps the request and closes.
class RevealTextDialog : public QDialog
{
    Q_OBJECT
public:
    // `programFolder` holds the palette page.
    RevealTextDialog(const QString &programFolder, QWidget *parent);

    // What OK built; empty until then.
    EffectRequest request() const { return m_request; }

private:
    EffectRequest m_request;
    TransitionBox *m_transition;
    QComboBox *m_alignment;
    ColourField *m_background;
};

} // namespace lumipage
