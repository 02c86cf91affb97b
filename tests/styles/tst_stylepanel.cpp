// The style panel on a real page in the real engine: the rules in cascade order against the
// engine's computed values, edits written where they stand and nowhere else.
#include "platform/editing/webengineeditingcomponent.h"
#include "platform/markup/cssvalues.h"
#include "platform/markup/textcodec.h"
#include "styles/stylecontroller.h"
#include "styles/stylepanel.h"
#include "support/stylesupport.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace lumipage;
using namespace Qt::StringLiterals;

namespace
{

const QByteArray kPage = "<!DOCTYPE html>\r\n<HTML><HEAD>\r\n"
                         "<META charset=\"utf-8\">\r\n"
                         "<LINK rel=stylesheet href=\"style.css\">\r\n"
                         "<LINK rel=stylesheet href=\"sjis.css\">\r\n"
                         "<LINK rel=stylesheet href=\"../outside.css\">\r\n"
                         "<STYLE>\r\n"
                         "  .a { color: blue; border-top-width: 1px }\r\n"
                         "  p  { text-indent: 2em }\r\n"
                         "</STYLE>\r\n"
                         "</HEAD><BODY>\r\n"
                         "<DIV id=outer style=\"font-style: italic; letter-spacing: 1px\">\r\n"
                         "<P id=target class=a style='margin-left: 3px; padding-top : 2px'>"
                         "Text</P>\r\n</DIV>\r\n<P id=other>Other</P>\r\n</BODY></HTML>\r\n";
const QByteArray kStyle = "@import url(\"imported.css\");\r\n"
                          ".a {\r\n  color: red;\r\n  font-weight: bold !important;\r\n}\r\n"
                          "@media (min-width: 1px) {\r\n  p { text-decoration: underline }\r\n}\r\n"
                          "@media (max-width: 1px) {\r\n  p { text-decoration: overline }\r\n}\r\n"
                          "#target { font-weight: normal; }\r\n";
// Selectors the runtime's quick "cannot match" must not pass over: a child combinator, a
// sibling combinator in a list, an element name in capitals, a descendant; and one that
// does not match.
const QByteArray kImported = "p { background-color: yellow; }\n"
                             "div > p.a { outline-color: red }\n"
                             ".x + p, P#target { orphans: 3 }\n"
                             "body .a { widows: 2 }\n"
                             ".nomatch p { color: pink }\n";
const QByteArray kOutside = "p { word-spacing: 4px; }\n";

QByteArray sjisSheet()
{
    return "@charset \"Shift_JIS\";\n/* " + textcodec::encode(u"見出しの書体 ≒"_s, "windows-31j") +
           " */\n.a { font-family: \"" + textcodec::encode(u"ＭＳ ゴシック"_s, "windows-31j") +
           "\"; }\n";
}

} // namespace

class TestStylePanel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_folder;
    std::unique_ptr<WebEngineEditingComponent> m_editor;
    QMainWindow m_window;
    QAction m_toggle;
    StyleController *m_styles = nullptr;

    QString path(const QString &name) const { return m_folder + u'/' + name; }

    // The panel filled afresh for the element P#target.a.
    bool fillForTarget()
    {
        return test::fillStylePanelFor(*m_styles, *m_editor, u"target"_s, u"P#target.a"_s,
                                       [&] { return row(u"orphans"_s) != nullptr; });
    }

    const styles::StyleRow *row(const QString &property, bool inherited = false)
    {
        for (const styles::StyleRow &r : m_styles->panel()->rows())
            if (r.property == property && r.inherited.isEmpty() != inherited)
                return &r;
        return nullptr;
    }

    // Makes the first row of `property` the current one, as a click does.
    void select(const QString &property)
    {
        auto *rules = m_styles->panel()->findChild<QTreeWidget *>(u"styleRules"_s);
        const QList<styles::StyleRow> &rows = m_styles->panel()->rows();
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].property == property && rows[i].inherited.isEmpty()) {
                rules->setCurrentItem(rules->topLevelItem(i));
                break;
            }
    }

    // Enters `value` for the row of `property` as a user does: the row, then the line.
    bool enter(const QString &property, const QString &value)
    {
        select(property);
        auto *line = m_styles->panel()->findChild<QLineEdit *>(u"styleValue"_s);
        if (!line->isEnabled())
            return false;
        QSignalSpy edited(m_styles, &StyleController::edited);
        QSignalSpy filled(m_styles, &StyleController::filled);
        line->clear();
        QTest::keyClicks(line, value);
        QTest::keyClick(line, Qt::Key_Return);
        // Either may come at once (a value refused before the page is asked).
        return test::waitFor([&] { return edited.count() > 0 && filled.count() > 0; }, 10000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_folder = m_root.path() + u"/site"_s;
        QVERIFY(QDir().mkpath(m_folder));
        test::writeBytes(path(u"page.htm"_s), kPage);
        test::writeBytes(path(u"style.css"_s), kStyle);
        test::writeBytes(path(u"imported.css"_s), kImported);
        test::writeBytes(path(u"sjis.css"_s), sjisSheet());
        test::writeBytes(m_root.path() + u"/outside.css"_s, kOutside);
        m_editor = test::shownEditor();
        m_styles = test::openStylePanel(m_window, m_toggle, *m_editor, path(u"page.htm"_s));
        QVERIFY(m_styles);
        // The linked sheets arrive after the page; the panel follows them.
        QVERIFY(fillForTarget());
        QVERIFY(test::waitFor([&] { return row(u"font-family"_s) != nullptr; }, 10000));
    }

    // The rows in cascade order, overridden ones marked, each winner agreeing with the
    // engine's computed value; the Shift_JIS sheet read in its encoding; inherited rows
    // after the element's own.
    void rulesInCascadeOrder()
    {
        QVERIFY(fillForTarget());
        QStringList order;
        for (const styles::StyleRow &r : m_styles->panel()->rows())
            if (r.inherited.isEmpty())
                order << r.selector + u' ' + r.property + (r.overridden ? u" ×"_s : u""_s);
        QCOMPARE(order,
                 QStringList({u"style 属性 margin-left"_s, u"style 属性 padding-top"_s,
                              u".x + p, P#target orphans"_s, u"#target font-weight ×"_s,
                              u"div > p.a outline-color"_s, u"body .a widows"_s, u".a color"_s,
                              u".a border-top-width"_s, u".a font-family"_s, u".a color ×"_s,
                              u".a font-weight"_s, u"p text-indent"_s, u"p word-spacing"_s,
                              u"p text-decoration"_s, u"p background-color"_s}));
        QCOMPARE(row(u"font-family"_s)->value, u"\"ＭＳ ゴシック\""_s);
        QCOMPARE(row(u"font-family"_s)->place, u"sjis.css:3"_s);
        QCOMPARE(row(u"text-indent"_s)->place, u"ページ内 9行"_s);
        QCOMPARE(row(u"text-decoration"_s)->media, u"(min-width: 1px)"_s);
        QCOMPARE(row(u"background-color"_s)->place, u"imported.css:1"_s);
        // The id's font-weight loses to the class's !important one.
        QCOMPARE(row(u"font-weight"_s)->place, u"style.css:12"_s);
        QVERIFY(row(u"font-weight"_s)->overridden);
        const auto important = std::find_if(
            m_styles->panel()->rows().cbegin(), m_styles->panel()->rows().cend(),
            [](const styles::StyleRow &r) { return r.property == u"font-weight" && r.important; });
        QCOMPARE(important->place, u"style.css:4"_s);
        QVERIFY(!important->overridden);

        auto *computedList = m_styles->panel()->findChild<QTreeWidget *>(u"styleComputed"_s);
        QHash<QString, QString> values;
        for (int i = 0; i < computedList->topLevelItemCount(); ++i)
            values.insert(computedList->topLevelItem(i)->text(0),
                          computedList->topLevelItem(i)->text(1));
        QCOMPARE(values[u"font-weight"_s], u"700"_s);
        const auto sameColour = [](const QString &a, const QString &b) {
            const css::Sheet x(a), y(b);
            const auto p = css::parseColor(x, x.parseComponentValueList());
            const auto q = css::parseColor(y, y.parseComponentValueList());
            return p && q && p->red == q->red && p->green == q->green && p->blue == q->blue;
        };
        QVERIFY(sameColour(row(u"color"_s)->value, values[u"color"_s]));
        QVERIFY(sameColour(row(u"background-color"_s)->value, values[u"background-color"_s]));

        // Inherited: font-style and letter-spacing from the DIV's attribute, not margin.
        QVERIFY(row(u"font-style"_s, true));
        QCOMPARE(row(u"font-style"_s, true)->inherited, u"DIV#outer"_s);
        QVERIFY(!row(u"margin-left"_s, true) || row(u"margin-left"_s, true)->inherited.isEmpty());
    }

    // A sheet outside the page's folder is shown read only, with the reason.
    void sheetOutsideIsReadOnly()
    {
        QVERIFY(fillForTarget());
        const styles::StyleRow *outside = row(u"word-spacing"_s);
        QVERIFY(outside);
        QVERIFY(outside->readOnlyReason.contains(u"フォルダの外"_s));
        QVERIFY(!enter(u"word-spacing"_s, u"9px"_s));
        QCOMPARE(test::readBytes(m_root.path() + u"/outside.css"_s), kOutside);
    }

    // A value the engine does not take is refused in words and written nowhere.
    void invalidValueRefused()
    {
        QVERIFY(fillForTarget());
        QVERIFY(enter(u"color"_s, u"notacolour"_s));
        QVERIFY(m_styles->panel()
                    ->findChild<QLabel *>(u"styleMessage"_s)
                    ->text()
                    .contains(u"使えません"_s));
        QCOMPARE(test::readBytes(path(u"style.css"_s)), kStyle);
    }

    // An edit in each of the three places changes only that declaration's bytes; the
    // panel's undo takes the sheet's edit back.
    void editsWhereTheyStand()
    {
        QVERIFY(fillForTarget());
        QVERIFY(enter(u"border-top-width"_s, u"3px"_s)); // the page's style element
        QVERIFY(enter(u"padding-top"_s, u"5px"_s));      // the style attribute
        QVERIFY(enter(u"text-decoration"_s, u"none"_s)); // style.css, under @media
        QCOMPARE(test::readBytes(path(u"style.css"_s)),
                 QByteArray(kStyle).replace("text-decoration: underline", "text-decoration: none"));
        QVERIFY(m_editor->SaveDocument(path(u"page.htm"_s)));
        QByteArray expected = kPage;
        expected.replace("border-top-width: 1px", "border-top-width: 3px");
        expected.replace("padding-top : 2px", "padding-top : 5px");
        const QByteArray saved = test::readBytes(path(u"page.htm"_s));
        // The attribute goes through the kept writing: only its start tag is written anew.
        QCOMPARE(saved.left(saved.indexOf("<P ")), expected.left(expected.indexOf("<P ")));
        QVERIFY(saved.contains("padding-top : 5px"));
        QCOMPARE(saved.mid(saved.indexOf("Text</P>")), expected.mid(expected.indexOf("Text</P>")));

        QVERIFY(fillForTarget());
        QCOMPARE(row(u"text-decoration"_s)->value, u"none"_s);
        QSignalSpy filled(m_styles, &StyleController::filled);
        QTest::mouseClick(m_styles->panel()->findChild<QPushButton *>(u"styleUndo"_s),
                          Qt::LeftButton);
        QVERIFY(filled.wait(10000) || filled.count() > 0);
        QCOMPARE(test::readBytes(path(u"style.css"_s)), kStyle);
    }

    // Switching a declaration off and on, adding one and removing one, each where it
    // stands; the panel's undo takes the sheet's removal back.
    void switchAddAndRemove()
    {
        QVERIFY(fillForTarget());
        const auto press = [&](const QString &property, const QString &button) {
            select(property);
            QSignalSpy filled(m_styles, &StyleController::filled);
            QTest::mouseClick(m_styles->panel()->findChild<QPushButton *>(button), Qt::LeftButton);
            return test::waitFor([&] { return filled.count() > 0; }, 10000);
        };
        QVERIFY(press(u"text-indent"_s, u"styleSwitch"_s));
        QVERIFY(m_editor->DocumentHTML().contains(u"p  { /* text-indent: 2em; */ }"_s));
        QVERIFY(row(u"text-indent"_s)->disabled);
        QVERIFY(press(u"text-indent"_s, u"styleSwitch"_s));
        QVERIFY(m_editor->DocumentHTML().contains(u"p  { text-indent: 2em; }"_s));

        select(u"margin-left"_s);
        auto *added = m_styles->panel()->findChild<QLineEdit *>(u"styleNew"_s);
        QSignalSpy filled(m_styles, &StyleController::filled);
        QTest::keyClicks(added, u"outline-style: dotted"_s);
        QTest::keyClick(added, Qt::Key_Return);
        QVERIFY(test::waitFor([&] { return row(u"outline-style"_s) != nullptr; }, 10000));
        QCOMPARE(row(u"outline-style"_s)->selector, u"style 属性"_s);

        QVERIFY(press(u"text-decoration"_s, u"styleRemove"_s));
        QCOMPARE(test::readBytes(path(u"style.css"_s)),
                 QByteArray(kStyle).replace("p { text-decoration: underline }", "p { }"));
        QVERIFY(!row(u"text-decoration"_s));
        filled.clear();
        QTest::mouseClick(m_styles->panel()->findChild<QPushButton *>(u"styleUndo"_s),
                          Qt::LeftButton);
        QVERIFY(test::waitFor([&] { return row(u"text-decoration"_s) != nullptr; }, 10000));
        QCOMPARE(test::readBytes(path(u"style.css"_s)), kStyle);
    }

    // An edit of a style element or attribute is one step of the page's undo history.
    void pageEditsAreOneUndoStep()
    {
        QVERIFY(fillForTarget());
        const QString before = m_editor->DocumentHTML();
        QVERIFY(enter(u"text-indent"_s, u"3em"_s));
        QVERIFY(m_editor->DocumentHTML().contains(u"text-indent: 3em"_s));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(m_editor->DocumentHTML(), before);
        QVERIFY(enter(u"margin-left"_s, u"7px"_s));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(m_editor->DocumentHTML(), before);
    }

    // A rule for the element's class added at the end of the chosen sheet, laid out as the
    // sheet's rules, shown at once; the panel's undo takes it back.
    void ruleForTheClass()
    {
        QVERIFY(fillForTarget());
        auto *sheets = m_styles->panel()->findChild<QComboBox *>(u"styleSheets"_s);
        const int styleCss = sheets->findText(u"style.css"_s);
        QVERIFY(styleCss >= 0);
        QVERIFY(sheets->findText(u"../outside.css"_s) < 0); // read only: not offered
        sheets->setCurrentIndex(styleCss);
        auto *typed = m_styles->panel()->findChild<QLineEdit *>(u"styleNew"_s);
        typed->setText(u"outline-width: 2px"_s);
        QTest::mouseClick(m_styles->panel()->findChild<QPushButton *>(u"styleAddRule"_s),
                          Qt::LeftButton);
        QVERIFY2(test::waitFor([&] { return row(u"outline-width"_s) != nullptr; }, 10000),
                 qPrintable(m_styles->panel()->findChild<QLabel *>(u"styleMessage"_s)->text() +
                            QString::fromUtf8(test::readBytes(path(u"style.css"_s)))));
        QCOMPARE(row(u"outline-width"_s)->place, u"style.css:13"_s);
        QCOMPARE(test::readBytes(path(u"style.css"_s)), kStyle + ".a { outline-width: 2px; }\r\n");
        QTest::mouseClick(m_styles->panel()->findChild<QPushButton *>(u"styleUndo"_s),
                          Qt::LeftButton);
        QVERIFY(test::waitFor([&] { return row(u"outline-width"_s) == nullptr; }, 10000));
        QCOMPARE(test::readBytes(path(u"style.css"_s)), kStyle);
    }

    // The editor beside the value line follows the row's property and only fills the line;
    // a colour chosen in the real dialog and applied with Enter reaches the page and changes
    // only that value in the saved bytes.
    void valueEditors()
    {
        QVERIFY(fillForTarget());
        StylePanel *panel = m_styles->panel();
        auto *line = panel->findChild<QLineEdit *>(u"styleValue"_s);
        auto *colour = panel->findChild<QToolButton *>(u"styleColour"_s);
        auto *length = panel->findChild<QDoubleSpinBox *>(u"styleLength"_s);
        select(u"font-family"_s);
        QVERIFY(panel->findChild<QComboBox *>(u"styleFont"_s)->isVisible());
        QVERIFY(!colour->isVisible() && !length->isVisible());
        select(u"margin-left"_s);
        QVERIFY(length->isVisible() && !colour->isVisible());
        QCOMPARE(length->value(), 3.0);
        panel->findChild<QComboBox *>(u"styleLengthUnit"_s)->setCurrentText(u"em"_s);
        QCOMPARE(line->text(), u"3em"_s);

        QVERIFY(m_editor->SaveDocument(path(u"page.htm"_s)));
        const QByteArray before = test::readBytes(path(u"page.htm"_s));
        select(u"color"_s);
        QCOMPARE(row(u"color"_s)->value, u"blue"_s); // the page's style element wins
        QVERIFY(colour->isVisible() && !length->isVisible());
        QColor initial;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget())) {
                answer.stop();
                initial = dialog->currentColor();
                dialog->setCurrentColor(QColor(0x12, 0xab, 0x34));
                dialog->accept();
            }
        });
        answer.start(50);
        QTest::mouseClick(colour, Qt::LeftButton);
        QCOMPARE(initial, QColor(Qt::blue)); // the dialog starts from the row's colour
        QCOMPARE(line->text(), u"#12ab34"_s);
        QCOMPARE(line->window()->focusWidget(), line); // Enter goes to the line next
        QTest::keyClick(line, Qt::Key_Return);
        QVERIFY(test::waitFor([&] { return row(u"color"_s)->value == u"#12ab34"; }, 10000));
        auto *computed = panel->findChild<QTreeWidget *>(u"styleComputed"_s);
        const auto items = computed->findItems(u"color"_s, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        QCOMPARE(items.front()->text(1), u"rgb(18, 171, 52)"_s);
        QVERIFY(m_editor->SaveDocument(path(u"page.htm"_s)));
        QCOMPARE(test::readBytes(path(u"page.htm"_s)),
                 QByteArray(before).replace("color: blue", "color: #12ab34"));
    }

    // A sheet another program changed since the panel read it: the declaration is looked
    // for again, and where it no longer reads as shown nothing is written over the change.
    void outsideChangeIsKept()
    {
        QVERIFY(fillForTarget());
        QCOMPARE(row(u"font-weight"_s)->value, u"normal"_s);
        const QByteArray theirs =
            QByteArray(kStyle).replace("font-weight: normal", "font-weight: 300");
        test::writeBytes(path(u"style.css"_s), theirs);
        QVERIFY(enter(u"font-weight"_s, u"600"_s));
        const QString message = m_styles->panel()->findChild<QLabel *>(u"styleMessage"_s)->text();
        QVERIFY2(message.contains(u"見つかりません"_s), qPrintable(message));
        QCOMPARE(test::readBytes(path(u"style.css"_s)), theirs);
    }
};

QTEST_MAIN(TestStylePanel)
#include "tst_stylepanel.moc"
