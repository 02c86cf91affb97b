#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumipage
{

// The text to replace and its replacement (the design's `find_text` and `replace_text`):
// set by the source window from its selection, kept by the replace dialog.
struct ReplaceTexts {
    QString find;
    QString replacement;
};

// The replace dialog `Form18`: replaces every occurrence of one text by another in
// the source window's text.
class ReplaceDialog : public QDialog
{
    Q_OBJECT
public:
    ReplaceDialog(ReplaceTexts &texts, QPlainTextEdit &source, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void replaceInSource();
    void cancel();

    ReplaceTexts &m_texts;
    QPlainTextEdit &m_source;
    QLineEdit *m_before;
    QLineEdit *m_after;
    QPushButton *m_replace;
};

} // namespace lumipage
