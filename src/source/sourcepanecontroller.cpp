#include "source/sourcepanecontroller.h"

#include "platform/editing/editingcomponent.h"
#include "platform/markup/markupproblems.h"
#include "platform/markup/textchange.h"
#include "source/sourcepane.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <utility>

namespace lumipage
{

namespace
{
// A text this long is read in a few milliseconds: where the pane's text is not read yet,
// it is read on the spot rather than after the page has been still.
constexpr qsizetype kReadOnTheSpot = 256 * 1024;
} // namespace

SourcePaneController::SourcePaneController(EditingComponent &editor, SourcePane &pane,
                                           std::function<void()> markPageChanged, QObject *parent)
    : QObject(parent), m_editor(editor), m_pane(pane), m_markPageChanged(std::move(markPageChanged))
{
    if (!parent)
        setParent(&pane); // found beside its pane (the benchmark tunes its delays)
    m_follow.setSingleShot(true);
    m_follow.setInterval(150);
    m_apply.setSingleShot(true);
    m_apply.setInterval(1000);
    // The pane's text is read (for finding elements in it) once the page has been still a
    // little longer than the pane waits to follow, not per keystroke: a big page takes a
    // while to read, and that would slow typing down.
    m_parseLater.setSingleShot(true);
    m_parseLater.setInterval(400);
    connect(&m_follow, &QTimer::timeout, this, [this] { follow(false); });
    connect(&m_parseLater, &QTimer::timeout, this, &SourcePaneController::parseFollowed);
    connect(&m_apply, &QTimer::timeout, this, &SourcePaneController::applyTyped);

    connect(&editor, &EditingComponent::pageBegun, this, [this] {
        if (!m_applying)
            m_begun = true;
    });
    connect(&editor, &EditingComponent::DocumentComplete, this, [this] {
        if (std::exchange(m_applying, false)) {
            // The page is now what was typed in the pane: a change the user has not saved.
            m_markPageChanged();
            if (m_shown)
                follow(false);
            return;
        }
        if (m_shown && !m_editor.BrowseMode())
            follow(std::exchange(m_begun, false));
    });
    connect(&editor, &EditingComponent::contentChanged, this, [this] {
        if (m_shown)
            m_follow.start();
    });
    connect(&editor, &EditingComponent::DisplayChanged, this, [this] {
        // A caret move tells its element; a change of the page tells none, and the pane
        // marks the caret's element once it has followed.
        const int reported = m_editor.reportedCaretElement();
        if (m_shown && m_follow.isActive() && reported >= 0)
            m_markWhenParsed = true; // marked once the pane has followed
        if (!m_shown || m_pane.editorHasFocus() || m_follow.isActive() || reported < 0)
            return;
        if (m_tree || m_followed.size() <= kReadOnTheSpot)
            markElement(reported);
        else
            markCaretElement(); // once the pane's text is read
    });

    connect(&pane, &SourcePane::typed, this, [this] {
        m_follow.stop(); // the pane's text is the user's now, until it is applied
        m_apply.start();
        parseFollowed(); // the text before, which the typed text is compared with
    });
    connect(&pane, &SourcePane::focusLeft, this, &SourcePaneController::applyTyped);
    connect(&pane, &SourcePane::caretMoved, this, [this](qsizetype position) {
        if (!m_pane.typedIn())
            selectElementAt(position);
    });
}

SourcePaneController::~SourcePaneController() = default;

void SourcePaneController::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    if (!shown)
        applyTyped();
    m_shown = shown;
    m_follow.stop();
    m_parseLater.stop();
    m_markWhenParsed = false;
    m_editor.setFollowReports(shown);
    if (shown) {
        // The same page shown again: only what changed meanwhile is replaced (and marked),
        // so the pane's place, folds and colouring stay.
        follow(std::exchange(m_begun, false));
        markCaretElement();
    }
}

void SourcePaneController::follow(bool afresh)
{
    if (m_pane.typedIn() || m_editor.BrowseMode())
        return; // what was typed goes to the page first; browse mode shows a copy
    // Shown afresh, a page nothing changed in shows its own text, unread: a save writes
    // those bytes (the page was read from them), and the first change followed reads the
    // page whole and checks its kept writing. Else the page is read whole now (and the
    // check made); then followed from what changed. Reading the page whole here would
    // also wait for the page's new layout at the pane's width.
    const std::optional<QByteArray> original =
        afresh ? m_editor.unchangedOriginal() : std::optional<QByteArray>();
    const QByteArray text =
        original ? *original
                 : (afresh ? m_editor.preservedHTML() : m_editor.followedHTML()).toUtf8();
    if (afresh)
        m_pane.showText(text);
    else
        m_pane.followText(text);
    if (text != m_followed) {
        setFollowed(text);
        m_markWhenParsed = m_markWhenParsed || !afresh; // the caret may be elsewhere now
    } else if (std::exchange(m_markWhenParsed, false) && !m_pane.editorHasFocus()) {
        markCaretElement(); // it moved while the pane waited to follow
    }
    const bool rewritten = !original && m_editor.keepMarkup() &&
                           !m_editor.documentPath().isEmpty() &&
                           !m_editor.keptMarkupFallback().isEmpty();
    m_pane.setNotice(rewritten ? tr("このページは元の書式のままでは示せないため、保存される"
                                    "書き直した形で表示しています。ここでの編集はページ全体を"
                                    "置き換えます。")
                               : QString());
}

bool SourcePaneController::applyTyped()
{
    m_apply.stop();
    if (!m_pane.typedIn())
        return true;
    m_pane.setTypedIn(false);
    const QByteArray typed = m_pane.text();
    std::optional<textchange::ElementEdit> edit;
    if (m_pane.notice().isEmpty()) { // else the pane shows the page rewritten: whole it is
        elements();
        edit = textchange::elementEdit(*m_tree, m_followed, typed);
    }
    const QByteArray before = m_followed;
    setFollowed(typed);
    if (edit && m_editor.replaceElement(edit->ordinal, edit->name, QString::fromUtf8(edit->markup),
                                        QString::fromUtf8(typed))) {
        m_pane.markProblems({});
        return true;
    }
    markProblems(before, typed);
    return replaceWhole(typed);
}

bool SourcePaneController::replaceWhole(const QByteArray &typed)
{
    // The typed text becomes the page, as the source window's OK makes it, and the page's
    // original: saved as it was typed.
    m_applying = true;
    if (m_editor.setDocumentHTML(QString::fromUtf8(typed)))
        return true;
    m_applying = false;
    return false;
}

void SourcePaneController::markProblems(const QByteArray &before, const QByteArray &typed)
{
    QList<SourcePane::Problem> marks;
    for (const markupproblems::Problem &p : markupproblems::introduced(before, typed))
        marks.append({p.start, p.end,
                      p.kind == markupproblems::Problem::Unclosed
                          ? tr("このタグは閉じられていません")
                          : tr("対応する開始タグがありません")});
    m_pane.markProblems(marks);
}

void SourcePaneController::pageUnchanged()
{
    if (!m_applying)
        m_pane.clearChangeMarks();
}

void SourcePaneController::setFollowed(const QByteArray &text)
{
    // The text before is kept with its reading: an undo brings it back, read already.
    if (m_previousTree && text == m_previous) {
        std::swap(m_previous, m_followed);
        std::swap(m_previousTree, m_tree);
    } else {
        m_previous = std::exchange(m_followed, text);
        m_previousTree = std::exchange(m_tree, nullptr);
    }
    m_parsing = false;
    if (!m_tree)
        m_parseLater.start();
}

const std::vector<SourceElement> &SourcePaneController::elements()
{
    if (!m_tree) {
        m_parseLater.stop();
        m_parsing = false;
        m_tree = std::make_shared<const SourceTree>(sourcemap::SourceText{{}, m_followed, {}});
    }
    return m_tree->elements();
}

void SourcePaneController::parseFollowed()
{
    m_parseLater.stop();
    if (m_tree || std::exchange(m_parsing, true))
        return;
    // Off the user's way: a big page takes a while to read, and typing goes on meanwhile;
    // what needs it before it is read reads the text on the spot.
    QThreadPool::globalInstance()->start([self = QPointer(this), text = m_followed] {
        auto tree = std::make_shared<const SourceTree>(sourcemap::SourceText{{}, text, {}});
        // Back on the user interface's thread, where the controller may be gone by then.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, text, tree = std::move(tree)] {
                if (self)
                    self->parsed(text, tree);
            },
            Qt::QueuedConnection);
    });
}

void SourcePaneController::parsed(const QByteArray &text, std::shared_ptr<const SourceTree> tree)
{
    if (m_tree || text != m_followed)
        return; // read on the spot meanwhile, or a newer text is being read
    m_tree = std::move(tree);
    m_parsing = false;
    if (std::exchange(m_markWhenParsed, false) && m_shown && !m_follow.isActive() &&
        !m_pane.editorHasFocus())
        markCaretElement();
}

void SourcePaneController::markCaretElement()
{
    if (!m_tree && m_followed.size() > kReadOnTheSpot) {
        // Marked once the text is read: a big page's text is not read on the spot.
        m_markWhenParsed = true;
        if (!m_parsing && !m_parseLater.isActive())
            m_parseLater.start();
        return;
    }
    markElement(m_editor.caretElement());
}

void SourcePaneController::markElement(int ordinal)
{
    if (!m_shown || m_pane.typedIn())
        return; // the pane's text is not the page's until it is applied
    const std::vector<SourceElement> &all = elements();
    if (ordinal < 0 || ordinal >= int(all.size()))
        return;
    const SourceElement &element = all[size_t(ordinal)];
    if (element.startTag)
        m_pane.markElement(element.tagStart, element.tagEnd,
                           std::max(element.outerEnd, element.tagEnd));
}

void SourcePaneController::selectElementAt(qsizetype position)
{
    const qint32 ordinal = textchange::elementAt(elements(), position);
    if (ordinal >= 0)
        m_editor.selectElement(ordinal);
}

} // namespace lumipage
