#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumipage
{

// The editing surface's find dialog: text, match case, whole word, direction. Each
// "次を検索" asks for the next match through findNext; the dialog stays open.
class FindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FindDialog(const QString &text, QWidget *parent = nullptr);

    QString text() const;

signals:
    void findNext(const QString &text, bool matchCase, bool wholeWord, bool up);

private:
    QLineEdit *m_text;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWord;
    QRadioButton *m_up;
    QPushButton *m_next;
};

} // namespace lumipage
