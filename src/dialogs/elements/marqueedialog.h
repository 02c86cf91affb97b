#pragma once

#include "fragments/dialogresult.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

// The marquee dialog's fields, as typed.
struct MarqueeFields {
    QString behavior, direction, loop = QStringLiteral("Infinite"), scrollDelay, scrollAmount;
};
// The MARQUEE fragment: values bare and as typed, the loop count last.
BuildResult marqueeMarkup(const MarqueeFields &fields);

// The marquee dialog `Form9`; on OK it keeps the fragment and closes.
class MarqueeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MarqueeDialog(QWidget *parent);

    // What OK built; nothing until then.
    BuildResult built() const { return m_built; }

private:
    BuildResult m_built;
    QComboBox *m_behavior, *m_direction;
    QLineEdit *m_loop, *m_delay, *m_amount;
};

} // namespace lumipage
