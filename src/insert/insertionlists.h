#pragma once

#include <QObject>
#include <QString>

namespace lumipage
{

class MainWindow;

// The element list `Combo1` and the effects list `Combo2` of the main window: what a
// chosen entry does, and the placeholders that come back when a list loses the focus.
class InsertionLists : public QObject
{
    Q_OBJECT
public:
    explicit InsertionLists(MainWindow &window);

    // Clears both lists, fills them in list order and shows their placeholders.
    void fill();
    void Combo1_Click();
    void Combo2_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainWindow &m_window;
    QString m_text1; // the page as read when an effect is chosen
};

} // namespace lumipage
