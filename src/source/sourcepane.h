#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QsciLexerHTML;
class QsciScintilla;

namespace lumipage
{

// The page's own source beside the page (`sourcePane`): the text a save would write,
// coloured by the HTML lexer (tags, attributes, entities, comments, embedded CSS and
// scripts), with line numbers, folding, a find bar (Ctrl+F) and the desktop's fixed-width
// font. Lines changed since the page was opened or saved are marked in a margin. It only
// shows and reports; SourcePaneController feeds it and applies what is typed in it.
class SourcePane : public QWidget
{
    Q_OBJECT
public:
    explicit SourcePane(QWidget *parent = nullptr);

    // The text shown, in UTF-8 (positions in it are the pane's positions).
    QByteArray text() const;
    // The same without a copy, valid until the text next changes.
    QByteArrayView textView() const;
    // Shows `text` as a page begun afresh: nothing marked as changed, scrolled to the top.
    void showText(const QByteArray &text);
    // Follows the page to `text`: only the stretch that differs is replaced, so the
    // scroll position, folds and the pane's own caret stay; its lines are marked changed.
    void followText(const QByteArray &text);
    // Nothing counts as changed any more (the page was saved).
    void clearChangeMarks();
    // Lines marked as changed, from 0.
    QList<int> changedLines() const;
    // Marks the start tag [tagStart, tagEnd) of an element whose extent ends at `end`:
    // the tag selected, the extent shaded, scrolled into view; the focus stays where it is.
    void markElement(qsizetype tagStart, qsizetype tagEnd, qsizetype end);
    // The pane's caret, as a position in text().
    qsizetype caretPosition() const;
    // A line over the text saying how it is shown; hidden when empty.
    void setNotice(const QString &notice);
    QString notice() const;
    // A stretch of the text the parser reads otherwise than it is written, and why.
    struct Problem {
        qsizetype start = 0, end = 0;
        QString message;
    };
    // Underlines `problems` (those before go), each with its message as a tool tip.
    void markProblems(const QList<Problem> &problems);
    // The message of the underlined stretch at `position`; empty when there is none.
    QString problemAt(qsizetype position) const;
    // Whether the user typed in the pane since it was last shown or followed.
    bool typedIn() const { return m_typed; }
    void setTypedIn(bool typed) { m_typed = typed; }
    QsciScintilla *editor() const { return m_editor; }
    bool editorHasFocus() const;

signals:
    // The pane shows the page's text anew (showText) or followed it (followText).
    void shown();
    // The user typed in the pane.
    void typed();
    // The user moved the pane's caret to `position` (in the pane, which has the focus).
    void caretMoved(qsizetype position);
    // The pane lost the keyboard focus.
    void focusLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyPalette();
    void replaceRange(qsizetype start, qsizetype end, const QByteArray &with);
    // Runs `write`, a change of the text made here, not typed.
    void writeQuietly(const std::function<void()> &write);
    void findNext();
    void showProblemTip(int position, int x, int y);

    QsciScintilla *m_editor = nullptr;
    QsciLexerHTML *m_lexer = nullptr;
    QLabel *m_notice = nullptr;
    QLineEdit *m_find = nullptr;
    bool m_programmatic = false; // a change made here, not typed
    bool m_typed = false;
    qsizetype m_placedCaret = -1;  // where markElement put the caret
    QStringList m_problemMessages; // by the value of the problem indicator, from 1
};

} // namespace lumipage
