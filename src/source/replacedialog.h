#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumipage
{

struct SharedValues;

// The replace dialog `Form18`: replaces every occurrence of one text by another in
// the source window's text.
class ReplaceDialog : public QDialog
{
    Q_OBJECT
public:
    ReplaceDialog(SharedValues &shared, QPlainTextEdit &source, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Command1_Click();
    void Command2_Click();

    SharedValues &m_shared;
    QPlainTextEdit &m_source;
    QLineEdit *m_before;
    QLineEdit *m_after;
    QPushButton *m_replace;
};

} // namespace lumipage
