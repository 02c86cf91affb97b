#pragma once

#include "platform/markup/sourcetree.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace lumipage
{

class EditingComponent;
class SourcePane;

// Keeps the source pane and the page in step while the pane is shown. The pane shows
// the text a save would write (the author's own bytes where the page was not edited);
// after a change on the page it follows once the page has been still for a moment, never
// per keystroke. The caret on the page marks its element in the pane, and the caret in
// the pane selects its element on the page, both by the element's place in document
// order, which the page and a parse of the pane's text share. What is typed in the pane
// goes to the page after a second's pause, when the pane loses the focus, and before any
// command; it becomes the page's text byte for byte (the next save writes it as typed):
// a change inside one element of the body replaces that element as one undo step, any
// other the whole page. Markup the parser reads otherwise than typed is underlined.
class SourcePaneController : public QObject
{
    Q_OBJECT
public:
    // `markPageChanged` makes the page count as changed (the typed text is not saved yet).
    SourcePaneController(EditingComponent &editor, SourcePane &pane,
                         std::function<void()> markPageChanged, QObject *parent = nullptr);
    ~SourcePaneController() override;

    // The pane was shown (it catches up with the page) or hidden (it stops following).
    void setShown(bool shown);
    bool shown() const { return m_shown; }
    // Puts what was typed in the pane onto the page now, if anything was; false when the
    // page could not take it.
    bool applyTyped();
    // The page counts as unchanged (opened or saved): no line is marked as changed.
    void pageUnchanged();
    // Marks the element at `ordinal` (document order) in the pane, when it is shown.
    void markElement(int ordinal);
    // How long the page must be still before the pane follows, in milliseconds.
    void setFollowDelay(int ms) { m_follow.setInterval(ms); }
    void setApplyDelay(int ms) { m_apply.setInterval(ms); }

private:
    void follow(bool afresh);
    bool replaceWhole(const QByteArray &typed);
    void markProblems(const QByteArray &before, const QByteArray &typed);
    void markCaretElement();
    void selectElementAt(qsizetype position);
    const std::vector<SourceElement> &elements();
    // Parses m_followed on a worker thread, for the next look-up to find ready (once).
    void parseFollowed();
    void parsed(const QByteArray &text, std::shared_ptr<const SourceTree> tree);
    // The pane shows `text` now (the page's, or what was typed).
    void setFollowed(const QByteArray &text);

    EditingComponent &m_editor;
    SourcePane &m_pane;
    std::function<void()> m_markPageChanged;
    QTimer m_follow;
    QTimer m_apply;
    QTimer m_parseLater;
    bool m_shown = false;
    bool m_begun = true;                      // a new page began: the pane shows it afresh
    bool m_applying = false;                  // the page is being replaced by the pane's text
    QByteArray m_followed;                    // the page's text as the pane last showed it
    std::shared_ptr<const SourceTree> m_tree; // a parse of m_followed, made when needed
    bool m_parsing = false;                   // m_followed is being parsed off the way
    QByteArray m_previous;                    // the text the pane showed before m_followed
    std::shared_ptr<const SourceTree> m_previousTree; // and its parse, if it was made
    // The caret's element is marked once m_followed is read (or, the text unchanged, once
    // the pane has followed).
    bool m_markWhenParsed = false;
};

} // namespace lumipage
