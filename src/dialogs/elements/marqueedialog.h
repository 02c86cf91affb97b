#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

class MainWindow;

// The marquee dialog's fields, as typed.
struct MarqueeFields {
    QString behavior, direction, loop = QStringLiteral("Infinite"), scrollDelay, scrollAmount;
};
// The MARQUEE fragment: values bare and as typed, the loop count last.
QString marqueeMarkup(const MarqueeFields &fields);

// The marquee dialog `Form9`.
class MarqueeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MarqueeDialog(MainWindow &window);

private:
    MainWindow &m_window;
    QComboBox *m_behavior, *m_direction;
    QLineEdit *m_loop, *m_delay, *m_amount;
};

} // namespace lumipage
