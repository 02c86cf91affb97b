#pragma once

#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QLineEdit;

namespace lumipage
{

// The names of the 24 revealTrans transitions, by number, exactly as the dialogs show them.
extern const std::array<const char *, 24> kTransitionNames;
// The name for a number text "0" … "23"; empty for any other text.
QString transitionName(const QString &numberText);

// The transition-number box of the reveal dialogs: an editable list "0" … "23" showing "0",
// and beside it a display-only box with the chosen transition's name ("Box in"). Choosing
// from the list shows the name; typing does not. Emptied, the number box shows "0" again.
class TransitionBox : public QWidget
{
    Q_OBJECT
public:
    // `numberName` and `nameName` are the objectNames of the list and the name box.
    TransitionBox(const QString &numberName, const QString &nameName, QWidget *parent);

    QComboBox *numberBox() const { return m_number; }
    QLineEdit *nameBox() const { return m_name; }
    // The number box's text, as typed or chosen.
    QString text() const;
    // The number as a 16-bit integer; nothing when the text is not one.
    std::optional<qint16> number() const;

signals:
    // The number box's text changed (never to empty: it falls back to "0").
    void textChanged(const QString &text);

private:
    QComboBox *m_number;
    QLineEdit *m_name;
};

} // namespace lumipage
