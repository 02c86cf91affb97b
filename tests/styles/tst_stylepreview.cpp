// The style panel's previews on a real page in the real engine: a state forced on the
// element (shown on the page, listed by the panel, never saved) and the view widths the
// @media rules are read at, with a rule added for a width.
#include "platform/editing/webengineeditingcomponent.h"
#include "styles/stylecontroller.h"
#include "styles/stylepanel.h"
#include "support/stylesupport.h"
#include "support/testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEngineView>

using namespace lumipage;
using namespace Qt::StringLiterals;

namespace
{

const QByteArray kPage = "<!DOCTYPE html>\n<HTML><HEAD>\n"
                         "<LINK rel=stylesheet href=\"style.css\">\n"
                         "<STYLE>\n"
                         "a.btn:hover { color: rgb(1, 2, 3); text-align: center }\n"
                         "a.btn.tie { text-align: right }\n"
                         "a:focus-within { color: pink }\n"
                         "#other { margin: 0 auto }\n"
                         "</STYLE>\n"
                         "</HEAD><BODY>\n"
                         "<P id=other>Other</P>\n"
                         "<P><A id=target class=\"btn tie\" href=\"x.htm\">Link</A></P>\n"
                         "</BODY></HTML>\n";
const QByteArray kStyle = ".btn { word-spacing: 1px }\n"
                          "@media (max-width: 768px) {\n  .btn { word-spacing: 2px }\n}\n"
                          "@media (min-width: 1200px) {\n  p { margin: 0 }\n}\n";

} // namespace

class TestStylePreview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    std::unique_ptr<WebEngineEditingComponent> m_editor;
    QMainWindow m_window;
    QAction m_toggle;
    StyleController *m_styles = nullptr;

    QString path(const QString &name) const { return m_root.path() + u'/' + name; }

    template <typename T> T *find(const QString &name)
    {
        return m_styles->panel()->findChild<T *>(name);
    }

    // The panel filled afresh for the link.
    bool fillForTarget()
    {
        return test::fillStylePanelFor(
            *m_styles, *m_editor, u"target"_s, u"A#target.btn.tie"_s,
            [&] { return rows().join(u'|').contains(u"word-spacing"_s); });
    }

    // The panel filled again after a change of its own controls.
    bool refilled(const std::function<void()> &change)
    {
        QSignalSpy filled(m_styles, &StyleController::filled);
        change();
        return filled.wait(10000) || filled.count() > 0;
    }

    // "selector property value" of the element's own rows, overridden ones marked.
    QStringList rows()
    {
        QStringList out;
        for (const styles::StyleRow &r : m_styles->panel()->rows())
            if (r.inherited.isEmpty())
                out << r.selector + u' ' + r.property + u' ' + r.value +
                           (r.overridden ? u" ×"_s : u""_s);
        return out;
    }

    QString computed(const QString &property)
    {
        const auto items =
            find<QTreeWidget>(u"styleComputed"_s)->findItems(property, Qt::MatchExactly);
        return items.isEmpty() ? QString() : items.front()->text(1);
    }

    // Enters `value` in the line for the row of `property` that reads `was`, as a user
    // does; true when the panel has been filled again after it.
    bool enterValue(const QString &property, const QString &was, const QString &value)
    {
        const QList<styles::StyleRow> &all = m_styles->panel()->rows();
        const auto at = std::find_if(all.cbegin(), all.cend(), [&](const styles::StyleRow &r) {
            return r.property == property && r.value == was;
        });
        if (at == all.cend())
            return false;
        auto *rules = find<QTreeWidget>(u"styleRules"_s);
        rules->setCurrentItem(rules->topLevelItem(int(at - all.cbegin())));
        auto *line = find<QLineEdit>(u"styleValue"_s);
        return refilled([&] {
            line->setText(value);
            QTest::keyClick(line, Qt::Key_Return);
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        test::writeBytes(path(u"page.htm"_s), kPage);
        test::writeBytes(path(u"style.css"_s), kStyle);
        m_editor = test::shownEditor();
        m_styles = test::openStylePanel(m_window, m_toggle, *m_editor, path(u"page.htm"_s));
        QVERIFY(m_styles);
        QVERIFY(fillForTarget());
        QVERIFY(
            test::waitFor([&] { return rows().join(u'|').contains(u"word-spacing"_s); }, 10000));
    }

    // :hover forced: the hover rule is listed and shown (its colour is the computed one),
    // a later rule of the same weight still beats it, a longer name (:focus-within) is not
    // taken for :focus; released, it goes; nothing of it reaches the saved page.
    void hoverForced()
    {
        QVERIFY(fillForTarget());
        QVERIFY(!rows().join(u'|').contains(u"rgb(1, 2, 3)"_s));
        auto *hover = find<QToolButton>(u"styleStateHover"_s);
        QVERIFY(refilled([&] { hover->setChecked(true); }));
        QTRY_COMPARE(
            rows(),
            QStringList({u"a.btn.tie text-align right"_s, u"a.btn:hover color rgb(1, 2, 3)"_s,
                         u"a.btn:hover text-align center ×"_s, u".btn word-spacing 1px"_s}));
        QCOMPARE(computed(u"color"_s), u"rgb(1, 2, 3)"_s);
        QCOMPARE(computed(u"text-align"_s), u"right"_s);
        QVERIFY(refilled([&] { find<QToolButton>(u"styleStateFocus"_s)->setChecked(true); }));
        QCOMPARE(computed(u"color"_s), u"rgb(1, 2, 3)"_s);

        QVERIFY(m_editor->SaveDocument(path(u"page.htm"_s)));
        QCOMPARE(test::readBytes(path(u"page.htm"_s)), kPage);
        QVERIFY(!m_editor->DocumentHTML().contains(u"lumipage"_s));
        QCOMPARE(m_editor->QueryStatus(decmd::UNDO), CommandStatus::NotAvailable);

        QVERIFY(refilled([&] {
            hover->setChecked(false);
            find<QToolButton>(u"styleStateFocus"_s)->setChecked(false);
        }));
        QVERIFY(!rows().join(u'|').contains(u"rgb(1, 2, 3)"_s));
        QVERIFY(computed(u"color"_s) != u"rgb(1, 2, 3)"_s);
    }

    // At a tablet's or a phone's width the @media rules that hold there are listed; a
    // rule added at a width goes into that width's @media block where the sheet has one,
    // else into a new one at the end.
    void widths()
    {
        QVERIFY(fillForTarget());
        auto *width = find<QComboBox>(u"styleWidth"_s);
        QCOMPARE(width->count(), 3);
        QVERIFY(!rows().contains(u".btn word-spacing 2px"_s));
        QVERIFY(refilled([&] { width->setCurrentIndex(1); }));
        QCOMPARE(width->currentText(), u"タブレット 768"_s);
        QVERIFY(rows().contains(u".btn word-spacing 2px"_s));
        QVERIFY(rows().contains(u".btn word-spacing 1px ×"_s));

        auto *sheets = find<QComboBox>(u"styleSheets"_s);
        const auto add = [&](const QString &typed) {
            sheets->setCurrentIndex(sheets->findText(u"style.css"_s));
            find<QLineEdit>(u"styleNew"_s)->setText(typed);
            QSignalSpy edited(m_styles, &StyleController::edited);
            QTest::mouseClick(find<QPushButton>(u"styleAddRule"_s), Qt::LeftButton);
            return (edited.wait(10000) || edited.count() > 0) && edited.front().front().toBool();
        };
        QVERIFY(add(u"outline-width: 2px"_s));
        QByteArray expected = QByteArray(kStyle).replace(
            "{ word-spacing: 2px }\n}", "{ word-spacing: 2px }\n  .btn { outline-width: 2px; }\n}");
        QCOMPARE(test::readBytes(path(u"style.css"_s)), expected);
        QVERIFY(test::waitFor([&] { return rows().contains(u".btn outline-width 2px"_s); }, 10000));

        QVERIFY(refilled([&] { width->setCurrentIndex(2); }));
        QVERIFY(add(u"outline-style: dotted"_s));
        expected += "@media (max-width: 375px) {\n  .btn { outline-style: dotted; }\n}\n";
        QCOMPARE(test::readBytes(path(u"style.css"_s)), expected);
        QVERIFY(
            test::waitFor([&] { return rows().contains(u".btn outline-style dotted"_s); }, 10000));
        // The real view does not meet these conditions: the page does not show them.
        QVERIFY(refilled([&] { width->setCurrentIndex(0); }));
        QVERIFY(!rows().join(u'|').contains(u"outline"_s));
    }

    // A value typed with "!important" makes the declaration important: the engine is asked
    // about the value without it.
    void typedImportant()
    {
        QVERIFY(fillForTarget());
        QVERIFY(enterValue(u"text-align"_s, u"right"_s, u"left !important"_s));
        QVERIFY2(m_editor->DocumentHTML().contains(u"a.btn.tie { text-align: left !important }"_s),
                 qPrintable(find<QLabel>(u"styleMessage"_s)->text()));
        QCOMPARE(computed(u"text-align"_s), u"left"_s);
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QTRY_VERIFY(m_editor->DocumentHTML().contains(u"a.btn.tie { text-align: right }"_s));
    }

    // The box diagram shows each side of the shorthand; a side typed writes the shortest
    // shorthand into the value line, and Enter in the side's field applies it.
    void boxDiagram()
    {
        QVERIFY(test::selectIn(*m_editor, u"other"_s, 0, 0));
        QTRY_COMPARE(find<QLabel>(u"styleElement"_s)->text(), u"P#other"_s);
        QVERIFY(test::waitFor([&] { return rows().contains(u"#other margin 0 auto"_s); }, 10000));
        auto *rules = find<QTreeWidget>(u"styleRules"_s);
        rules->setCurrentItem(rules->topLevelItem(int(rows().indexOf(u"#other margin 0 auto"_s))));
        QVERIFY(find<QFrame>(u"styleBox"_s)->isVisible());
        auto *left = find<QLineEdit>(u"styleBoxLeft"_s);
        QCOMPARE(find<QLineEdit>(u"styleBoxTop"_s)->text(), u"0"_s);
        QCOMPARE(left->text(), u"auto"_s);
        left->selectAll();
        QTest::keyClicks(left, u"1px"_s);
        QCOMPARE(find<QLineEdit>(u"styleValue"_s)->text(), u"0 auto 0 1px"_s);
        QVERIFY(refilled([&] { QTest::keyClick(left, Qt::Key_Return); }));
        QTRY_VERIFY(m_editor->DocumentHTML().contains(u"#other { margin: 0 auto 0 1px }"_s));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
    }

    // An edit in the linked sheet is a step of the page's undo history: Ctrl+Z on the page
    // puts the file's bytes back and the page shows the old value; Ctrl+Y makes the edit
    // again. It is no change of the page itself.
    void sheetEditUndoneOnThePage()
    {
        QVERIFY(fillForTarget());
        const QByteArray before = test::readBytes(path(u"style.css"_s));
        const QByteArray after =
            QByteArray(before).replace("word-spacing: 1px", "word-spacing: 4px");
        QVERIFY(enterValue(u"word-spacing"_s, u"1px"_s, u"4px"_s));
        QTRY_COMPARE(test::readBytes(path(u"style.css"_s)), after);
        QTRY_VERIFY(rows().contains(u".btn word-spacing 4px"_s));
        const QString page = m_editor->DocumentHTML();

        QWidget *surface = m_editor->findChild<QWebEngineView *>()->focusProxy();
        surface->setFocus();
        QTRY_COMPARE(m_editor->QueryStatus(decmd::UNDO), CommandStatus::Enabled);
        QTest::keyClick(surface, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(test::readBytes(path(u"style.css"_s)), before);
        QTRY_VERIFY(rows().contains(u".btn word-spacing 1px"_s));
        QTRY_COMPARE(m_editor->QueryStatus(decmd::REDO), CommandStatus::Enabled);
        QTest::keyClick(surface, Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(test::readBytes(path(u"style.css"_s)), after);
        QTRY_VERIFY(rows().contains(u".btn word-spacing 4px"_s));
        QCOMPARE(m_editor->DocumentHTML(), page);
        QVERIFY(m_editor->SaveDocument(path(u"page.htm"_s)));
        QCOMPARE(test::readBytes(path(u"page.htm"_s)), kPage);
    }

    // The sheet changed elsewhere after the panel read it, keeping its size and time, so
    // that only the write's own check sees it: the page shows the edit at once, and when
    // the write is refused the page's change is taken back; the other bytes stay.
    void refusedWriteTakenBackFromThePage()
    {
        QVERIFY(fillForTarget());
        const QString file = path(u"style.css"_s);
        const QDateTime time = QFileInfo(file).lastModified();
        const QByteArray theirs =
            test::readBytes(file).replace("word-spacing: 4px", "word-spacing: 5px");
        test::writeBytes(file, theirs);
        QFile touched(file);
        QVERIFY(touched.open(QIODevice::ReadWrite) &&
                touched.setFileTime(time, QFileDevice::FileModificationTime));
        touched.close();
        QVERIFY(enterValue(u"word-spacing"_s, u"4px"_s, u"7px"_s));
        QVERIFY(find<QLabel>(u"styleMessage"_s)->text().contains(u"ほかで変更"_s));
        QCOMPARE(test::readBytes(file), theirs);
        const auto computedSpacing = [&] {
            return m_editor
                ->call(u"styleMatches"_s, QJsonArray{QJsonValue(QJsonArray{u"word-spacing"_s})})
                .value.toMap()[u"computed"_s]
                .toMap()[u"word-spacing"_s]
                .toString();
        };
        QTRY_COMPARE(computedSpacing(), u"4px"_s);
    }

    // A page linking a sheet on a server (a real one on 127.0.0.1): the sheet is listed
    // read only with the reason, and nothing of it can be edited.
    void serverSheetReadOnly()
    {
        QTemporaryDir served;
        test::writeBytes(served.path() + u"/b.css"_s, "p { color: rgb(9, 9, 9) }\n");
        QProcess server;
        server.start(u"/usr/bin/python3"_s,
                     {u"-u"_s, u"-m"_s, u"http.server"_s, u"0"_s, u"--bind"_s, u"127.0.0.1"_s,
                      u"--directory"_s, served.path()});
        QRegularExpressionMatch port;
        QVERIFY(test::waitFor(
            [&] {
                server.waitForReadyRead(50);
                port = QRegularExpression(u"port (\\d+)"_s)
                           .match(QString::fromUtf8(server.peek(4096)));
                return port.hasMatch();
            },
            10000));
        const QString href = u"http://127.0.0.1:%1/b.css"_s.arg(port.captured(1));
        test::writeBytes(path(u"server.htm"_s),
                         "<!DOCTYPE html><HTML><HEAD><LINK rel=stylesheet href=\"" + href.toUtf8() +
                             "\"></HEAD><BODY><P id=p>x</P></BODY></HTML>");
        QVERIFY(test::loadAndWait(*m_editor, path(u"server.htm"_s)));
        QVERIFY(test::selectIn(*m_editor, u"p"_s, 0, 0));
        QVERIFY(test::waitFor([&] { return computed(u"color"_s) == u"rgb(9, 9, 9)"; }, 10000));
        const QList<styles::StyleRow> &shown = m_styles->panel()->rows();
        const auto at = std::find_if(shown.cbegin(), shown.cend(),
                                     [&](const styles::StyleRow &r) { return r.place == href; });
        QVERIFY(at != shown.cend());
        QVERIFY(at->readOnlyReason.contains(u"サーバー上"_s));
        auto *rules = find<QTreeWidget>(u"styleRules"_s);
        rules->setCurrentItem(rules->topLevelItem(int(at - shown.cbegin())));
        QVERIFY(!find<QLineEdit>(u"styleValue"_s)->isEnabled());
        QVERIFY(find<QComboBox>(u"styleSheets"_s)->findText(href) < 0);
        server.kill();
        server.waitForFinished();
    }
};

QTEST_MAIN(TestStylePreview)
#include "tst_stylepreview.moc"
