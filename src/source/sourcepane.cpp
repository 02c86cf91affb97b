#include "source/sourcepane.h"

#include "platform/markup/textchange.h"

#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QToolTip>
#include <QVBoxLayout>

#include <utility>

namespace lumipage
{

namespace
{
using Sci = QsciScintillaBase;
constexpr int kChangedMarker = 1;    // the margin mark of a changed line
constexpr int kExtentIndicator = 8;  // the shading of the marked element's extent
constexpr int kProblemIndicator = 9; // the underline of markup read otherwise than written
constexpr int kMarkMargin = 1;
} // namespace

SourcePane::SourcePane(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("sourcePane"));
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("sourcePaneNotice"));
    m_notice->setWordWrap(true);
    m_notice->hide();

    m_editor = new QsciScintilla(this);
    m_editor->setObjectName(QStringLiteral("sourceText"));
    m_editor->setUtf8(true);
    m_lexer = new QsciLexerHTML(m_editor);
    m_lexer->setFoldCompact(false);
    m_editor->setLexer(m_lexer);
    m_editor->setMarginType(0, QsciScintilla::NumberMargin);
    m_editor->setMarginLineNumbers(0, true);
    m_editor->setMarginWidth(0, QStringLiteral("00000"));
    // A narrow bar beside the numbers, as a version-control gutter marks changed lines.
    m_editor->setMarginType(kMarkMargin, QsciScintilla::SymbolMargin);
    m_editor->setMarginWidth(kMarkMargin, 4);
    m_editor->setMarginMarkerMask(kMarkMargin, 1 << kChangedMarker);
    m_editor->markerDefine(QsciScintilla::FullRectangle, kChangedMarker);
    m_editor->setMarkerBackgroundColor(QColor(0x2f, 0x9e, 0x44), kChangedMarker);
    m_editor->setFolding(QsciScintilla::BoxedTreeFoldStyle, 2);
    m_editor->setWrapMode(QsciScintilla::WrapNone);
    m_editor->setBraceMatching(QsciScintilla::NoBraceMatch);
    m_editor->indicatorDefine(QsciScintilla::StraightBoxIndicator, kExtentIndicator);
    m_editor->indicatorDefine(QsciScintilla::SquiggleIndicator, kProblemIndicator);
    m_editor->setIndicatorForegroundColor(QColor(0xd0, 0x20, 0x20), kProblemIndicator);
    m_editor->SendScintilla(Sci::SCI_SETMOUSEDWELLTIME, 400UL);
    connect(m_editor, &QsciScintillaBase::SCN_DWELLSTART, this, &SourcePane::showProblemTip);
    connect(m_editor, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
    m_editor->installEventFilter(this);

    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("sourceFind"));
    m_find->setPlaceholderText(tr("検索する文字列（Enter で次へ、Esc で閉じる）"));
    m_find->hide();
    m_find->installEventFilter(this);
    connect(m_find, &QLineEdit::returnPressed, this, &SourcePane::findNext);
    auto *find =
        new QShortcut(QKeySequence::Find, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        m_find->show();
        m_find->selectAll();
        m_find->setFocus();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_notice);
    layout->addWidget(m_editor, 1);
    layout->addWidget(m_find);
    applyPalette();

    connect(m_editor, &QsciScintilla::textChanged, this, [this] {
        if (m_programmatic)
            return;
        m_typed = true;
        emit typed();
    });
    connect(m_editor, &QsciScintilla::cursorPositionChanged, this, [this] {
        // Only the user's own moves: Scintilla reports the caret moves made here later, when
        // it redraws, and those must not send the page's caret back.
        const qsizetype position = caretPosition();
        if (m_programmatic || !m_editor->hasFocus() || position == std::exchange(m_placedCaret, -1))
            return;
        // Told once the paint is over: a listener that asks the page waits in an event loop,
        // which must not paint the window again inside this paint.
        QMetaObject::invokeMethod(
            this, [this, position] { emit caretMoved(position); }, Qt::QueuedConnection);
    });
}

QByteArray SourcePane::text() const
{
    return textView().toByteArray();
}

QByteArrayView SourcePane::textView() const
{
    const auto *data =
        reinterpret_cast<const char *>(m_editor->SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
    return QByteArrayView(data, m_editor->SendScintilla(Sci::SCI_GETLENGTH));
}

void SourcePane::showText(const QByteArray &text)
{
    writeQuietly([&] {
        m_editor->SendScintilla(Sci::SCI_SETTEXT, uintptr_t(0), text.constData());
        m_editor->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    });
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent update(m_editor, 0, QString(), QString::fromUtf8(text));
        QAccessible::updateAccessibility(&update);
    }
    m_typed = false;
    clearChangeMarks();
    markProblems({});
    emit shown();
}

void SourcePane::followText(const QByteArray &text)
{
    const std::optional<textchange::Stretch> change = textchange::between(textView(), text);
    m_typed = false;
    if (!change)
        return;
    replaceRange(change->start, change->start + change->removed, change->inserted);
    const long first = m_editor->SendScintilla(Sci::SCI_LINEFROMPOSITION,
                                               static_cast<unsigned long>(change->start));
    const long last = m_editor->SendScintilla(
        Sci::SCI_LINEFROMPOSITION,
        static_cast<unsigned long>(change->start + change->inserted.size()));
    for (long line = first; line <= last; ++line)
        m_editor->markerAdd(int(line), kChangedMarker);
    emit shown();
}

void SourcePane::writeQuietly(const std::function<void()> &write)
{
    // QScintilla tells screen readers of each insertion and deletion by counting the
    // characters before it one by one, milliseconds on a big page: the pane's own changes
    // go unannounced there, and are told (when a reader listens) by the caller.
    // A notification goes out when any of its flags is in the mask: the flags that come
    // with an insertion or a deletion are all left out.
    constexpr unsigned long textChanges =
        Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | Sci::SC_MOD_BEFOREINSERT |
        Sci::SC_MOD_BEFOREDELETE | Sci::SC_PERFORMED_USER | Sci::SC_PERFORMED_UNDO |
        Sci::SC_PERFORMED_REDO | Sci::SC_MULTISTEPUNDOREDO | Sci::SC_LASTSTEPINUNDOREDO |
        Sci::SC_MULTILINEUNDOREDO | Sci::SC_STARTACTION;
    m_programmatic = true;
    const unsigned long mask = m_editor->SendScintilla(Sci::SCI_GETMODEVENTMASK);
    m_editor->SendScintilla(Sci::SCI_SETMODEVENTMASK, mask & ~textChanges);
    write();
    m_editor->SendScintilla(Sci::SCI_SETMODEVENTMASK, mask);
    m_programmatic = false;
}

void SourcePane::replaceRange(qsizetype start, qsizetype end, const QByteArray &with)
{
    const QString removed = QAccessible::isActive()
                                ? QString::fromUtf8(textView().sliced(start, end - start))
                                : QString();
    writeQuietly([&] {
        // The page's own undo history is the one the user goes back through: what the
        // page wrote into the pane is not undone here.
        m_editor->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
        m_editor->SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start),
                                static_cast<long>(end));
        m_editor->SendScintilla(Sci::SCI_REPLACETARGET, uintptr_t(with.size()), with.constData());
        m_editor->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
        m_editor->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    });
    if (QAccessible::isActive()) {
        // Offsets in characters, as QScintilla gives them to readers.
        qsizetype offset = 0;
        for (const char c : textView().first(start))
            offset += (uchar(c) & 0xC0) != 0x80;
        QAccessibleTextUpdateEvent update(m_editor, int(offset), removed, QString::fromUtf8(with));
        QAccessible::updateAccessibility(&update);
    }
}

void SourcePane::clearChangeMarks()
{
    m_editor->markerDeleteAll(kChangedMarker);
}

QList<int> SourcePane::changedLines() const
{
    QList<int> lines;
    for (int line = m_editor->markerFindNext(0, 1 << kChangedMarker); line >= 0;
         line = m_editor->markerFindNext(line + 1, 1 << kChangedMarker))
        lines << line;
    return lines;
}

void SourcePane::markElement(qsizetype tagStart, qsizetype tagEnd, qsizetype end)
{
    m_programmatic = true;
    m_editor->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kExtentIndicator);
    m_editor->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL,
                            m_editor->SendScintilla(Sci::SCI_GETLENGTH));
    m_editor->SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(tagStart),
                            static_cast<long>(end - tagStart));
    m_editor->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(tagStart),
                            static_cast<long>(tagEnd));
    m_placedCaret = tagEnd;
    m_editor->SendScintilla(Sci::SCI_SCROLLRANGE, static_cast<unsigned long>(tagEnd),
                            static_cast<long>(tagStart));
    m_programmatic = false;
}

bool SourcePane::editorHasFocus() const
{
    return m_editor->hasFocus();
}

qsizetype SourcePane::caretPosition() const
{
    return m_editor->SendScintilla(Sci::SCI_GETCURRENTPOS);
}

void SourcePane::setNotice(const QString &notice)
{
    m_notice->setText(notice);
    m_notice->setVisible(!notice.isEmpty());
}

QString SourcePane::notice() const
{
    return m_notice->text();
}

void SourcePane::markProblems(const QList<Problem> &problems)
{
    const long length = m_editor->SendScintilla(Sci::SCI_GETLENGTH);
    m_editor->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kProblemIndicator);
    m_editor->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL, length);
    m_problemMessages.clear();
    for (const Problem &problem : problems) {
        // Each its own value, which finds its message again.
        m_problemMessages << problem.message;
        m_editor->SendScintilla(Sci::SCI_SETINDICATORVALUE,
                                static_cast<unsigned long>(m_problemMessages.size()));
        m_editor->SendScintilla(Sci::SCI_INDICATORFILLRANGE,
                                static_cast<unsigned long>(problem.start),
                                static_cast<long>(problem.end - problem.start));
    }
}

QString SourcePane::problemAt(qsizetype position) const
{
    const long value = m_editor->SendScintilla(Sci::SCI_INDICATORVALUEAT, kProblemIndicator,
                                               static_cast<long>(position));
    return value > 0 && value <= m_problemMessages.size() ? m_problemMessages.at(value - 1)
                                                          : QString();
}

void SourcePane::showProblemTip(int position, int x, int y)
{
    const QString message = position >= 0 ? problemAt(position) : QString();
    if (!message.isEmpty())
        QToolTip::showText(m_editor->viewport()->mapToGlobal(QPoint(x, y)), message, m_editor);
}

void SourcePane::findNext()
{
    const QString what = m_find->text();
    if (what.isEmpty())
        return;
    // From the caret on, wrapping round; the match is selected and shown.
    if (!m_editor->findFirst(what, false, false, false, true, true))
        m_find->setStyleSheet(QStringLiteral("background: #f8d7da"));
    else
        m_find->setStyleSheet(QString());
}

bool SourcePane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && event->type() == QEvent::FocusOut)
        emit focusLeft();
    if (watched == m_find && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        m_find->hide();
        m_editor->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SourcePane::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyPalette();
    QWidget::changeEvent(event);
}

void SourcePane::applyPalette()
{
    // The lexer's colours are for a light background; on a dark one its darker colours
    // are lightened so that they stay readable.
    const QPalette pal = palette();
    const QColor paper = pal.color(QPalette::Base);
    const bool dark = paper.lightness() < 128;
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QsciLexerHTML defaults;
    for (int style = 0; style < 128; ++style) {
        QColor colour = defaults.color(style);
        if (dark && colour.lightness() < 140)
            colour = colour.lighter(220);
        m_lexer->setColor(colour, style);
    }
    m_lexer->setDefaultPaper(paper);
    m_lexer->setPaper(paper);
    m_lexer->setDefaultColor(pal.color(QPalette::Text));
    m_lexer->setFont(font);
    m_editor->setMarginsFont(font);
    m_editor->setMarginsBackgroundColor(pal.color(QPalette::Window));
    m_editor->setMarginsForegroundColor(pal.color(QPalette::PlaceholderText));
    m_editor->setCaretForegroundColor(pal.color(QPalette::Text));
    m_editor->setSelectionBackgroundColor(pal.color(QPalette::Highlight));
    m_editor->setSelectionForegroundColor(pal.color(QPalette::HighlightedText));
    m_editor->setIndicatorForegroundColor(pal.color(QPalette::Highlight), kExtentIndicator);
}

} // namespace lumipage
