// Objects in the real engine: selecting by a click, absolute positioning, dragging and
// nudging, z-order, and undoing all of it.
#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"

#include <QInputMethodEvent>
#include <QRegularExpression>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestEditingObjects : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;

    QString body() { return bodyOf(*m_editor); }
    QWidget *surface() { return m_editor->findChild<QWebEngineView *>()->focusProxy(); }
    QVariantMap info(const char *id) { return m_editor->call("elementInfo", {id}).value.toMap(); }
    QString selectedObject() { return m_editor->call("selectedObjectId").value.toString(); }
    QPoint pointIn(const char *id, int dx, int dy)
    {
        const QVariantMap box = info(id);
        return QPoint(qRound(box.value("left").toDouble()) + dx,
                      qRound(box.value("top").toDouble()) + dy);
    }
    // left / top of the element's style, as written into the page.
    QPoint place(const char *id)
    {
        const QString style = info(id).value("style").toString();
        const auto left = QRegularExpression("left: (-?\\d+)px").match(style);
        const auto top = QRegularExpression("top: (-?\\d+)px").match(style);
        return left.hasMatch() && top.hasMatch()
                   ? QPoint(left.captured(1).toInt(), top.captured(1).toInt())
                   : QPoint(-9999, -9999);
    }
    // Clicks and waits until the page has taken the whole click.
    void click(const QPoint &at) { QVERIFY(clickPage(*m_editor, at)); }
    // Drags and waits until the page has taken the release (a display change may come
    // earlier, from the press).
    void drag(const QPoint &from, const QPoint &by) { QVERIFY(dragPage(*m_editor, from, by)); }

private slots:
    void initTestCase() { m_editor = shownEditor(); }
    void cleanupTestCase() { m_editor.reset(); }

    void clickSelectsObjectsAndEscapeReturnsToTheCaret()
    {
        QVERIFY(setBody(*m_editor, "<P id=p>text <INPUT id=i value=field> more</P>"
                                   "<P><BUTTON id=b>press</BUTTON></P>"
                                   "<IFRAME id=f width=120 height=60></IFRAME>"
                                   "<MARQUEE id=m>moving</MARQUEE>"));
        const QString before = body();
        click(pointIn("i", 5, 5));
        QTRY_COMPARE(selectedObject(), QStringLiteral("i"));
        QCOMPARE(m_editor->QueryStatus(decmd::MAKE_ABSOLUTE), CommandStatus::Enabled);
        QCOMPARE(m_editor->QueryStatus(decmd::BRING_ABOVE_TEXT), CommandStatus::NotAvailable);
        click(pointIn("b", 5, 5));
        QTRY_COMPARE(selectedObject(), QStringLiteral("b"));
        // The outline and handles are editing aids: the page is as it was.
        QCOMPARE(body(), before);
        QVERIFY(!m_editor->DocumentHTML().contains("lumipage"));
        QTest::keyClick(surface(), Qt::Key_Escape);
        QTRY_COMPARE(selectedObject(), QString());
        click(pointIn("b", 5, 5));
        QTRY_COMPARE(selectedObject(), QStringLiteral("b"));
        QTest::mouseClick(surface(), Qt::RightButton, {}, pointIn("i", 5, 5));
        QTRY_COMPARE(selectedObject(), QStringLiteral("i")); // its menu then acts on it
        click(pointIn("p", 2, 5));
        QTRY_COMPARE(selectedObject(), QString());
        // A floating frame would take the press itself; it is selected all the same.
        click(pointIn("f", 20, 20));
        QTRY_COMPARE(selectedObject(), QStringLiteral("f"));
        click(pointIn("m", 5, 5));
        QTRY_COMPARE(selectedObject(), QStringLiteral("m"));
        // The Delete key takes the selected object away, and undo brings it back.
        QTest::keyClick(surface(), Qt::Key_Delete);
        QTRY_VERIFY(!body().contains("MARQUEE"));
        QCOMPARE(selectedObject(), QString());
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), before);
    }

    void positionDragLayerAndUndoAllTheWayBack()
    {
        QVERIFY(setBody(*m_editor, "<P id=p>flow text</P><DIV id=d>block</DIV><P>after</P>"));
        const QString original = body();
        QVERIFY(selectIn(*m_editor, "d", 1, 1));
        QCOMPARE(m_editor->QueryStatus(decmd::MAKE_ABSOLUTE), CommandStatus::Enabled);
        const QPoint flowPlace = pointIn("d", 0, 0);
        QVERIFY(m_editor->ExecCommand(decmd::MAKE_ABSOLUTE, CommandOption::Prompt));
        QVERIFY(waitForDisplayChanged(*m_editor));
        QCOMPARE(m_editor->QueryStatus(decmd::MAKE_ABSOLUTE), CommandStatus::Latched);
        QCOMPARE(selectedObject(), QStringLiteral("d"));
        // It stays where it was in the flow.
        QCOMPARE(pointIn("d", 0, 0), flowPlace);
        QVERIFY2(body().contains("<DIV id=d style=\"position: absolute; left: "),
                 qPrintable(body()));
        const QPoint start = place("d");

        drag(pointIn("d", 100, 2), QPoint(40, 25)); // on the edge, away from the handles
        QCOMPARE(place("d"), start + QPoint(40, 25));
        QTest::keyClick(surface(), Qt::Key_Right);
        QTest::keyClick(surface(), Qt::Key_Down, Qt::ShiftModifier);
        QTRY_COMPARE(place("d"), start + QPoint(41, 35));

        QCOMPARE(m_editor->QueryStatus(decmd::BRING_ABOVE_TEXT), CommandStatus::Enabled);
        QVERIFY(m_editor->ExecCommand(decmd::BRING_ABOVE_TEXT, CommandOption::Prompt));
        QVERIFY(info("d").value("style").toString().contains("z-index: 1;"));
        QVERIFY(m_editor->ExecCommand(decmd::SEND_BELOW_TEXT, CommandOption::Prompt));
        QVERIFY(info("d").value("style").toString().contains("z-index: -1;"));

        // Layer, layer, nudge, nudge, drag, position: six steps back to the flow.
        for (int i = 0; i < 6; ++i)
            QVERIFY2(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt),
                     qPrintable(QString::number(i)));
        QCOMPARE(body(), original);
        QVERIFY(!m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        for (int i = 0; i < 6; ++i)
            QVERIFY(m_editor->ExecCommand(decmd::REDO, CommandOption::Prompt));
        QVERIFY(info("d").value("style").toString().contains("z-index: -1;"));
        QCOMPARE(place("d"), start + QPoint(41, 35));
    }

    void makeAbsoluteTogglesBack()
    {
        QVERIFY(setBody(*m_editor, "<P id=p>a <IMG id=img width=40 height=30> b</P>"));
        const QString original = body();
        click(pointIn("img", 5, 5));
        QTRY_COMPARE(selectedObject(), QStringLiteral("img"));
        QVERIFY(m_editor->ExecCommand(decmd::MAKE_ABSOLUTE, CommandOption::Prompt));
        QVERIFY(body().contains("<IMG id=img width=40 height=30 style=\"position: absolute;"));
        QVERIFY(!body().contains("width: ")); // an inline object keeps its own size
        QVERIFY(m_editor->ExecCommand(decmd::MAKE_ABSOLUTE, CommandOption::Prompt));
        QCOMPARE(body(), original);
        // Text right in the body has no block to position.
        QVERIFY(setBody(*m_editor, "loose text"));
        QVERIFY(waitForDisplayChanged(*m_editor));
        QCOMPARE(m_editor->QueryStatus(decmd::MAKE_ABSOLUTE), CommandStatus::NotAvailable);
    }

    void handlesSizeTheObject()
    {
        QVERIFY(setBody(*m_editor, "<P>a <IMG id=img width=40 height=30> b</P>"));
        const QString original = body();
        click(pointIn("img", 5, 5));
        QTRY_COMPARE(selectedObject(), QStringLiteral("img"));
        // The bottom-right handle sits just outside the image's corner.
        drag(pointIn("img", 42, 32), QPoint(20, 10));
        QVERIFY2(
            body().contains("<IMG id=img width=40 height=30 style=\"width: 60px; height: 40px;\">"),
            qPrintable(body()));
        QCOMPARE(info("img").value("width").toInt(), 60);
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), original);
    }

    void typingIsUndoneInWordsAndTheKeysWork()
    {
        QVERIFY(setBody(*m_editor, "<P id=p>x</P>"));
        click(pointIn("p", 1, 1)); // the page takes the keyboard as after a user's click
        QVERIFY(selectIn(*m_editor, "p", 1, 1));
        QTest::keyClicks(surface(), "abc");
        QTRY_COMPARE(body(), QStringLiteral("<P id=p>xabc</P>"));
        // The typing's display change may have come while the text was awaited: wait for
        // the status it brings instead.
        QTRY_COMPARE(m_editor->QueryStatus(decmd::UNDO), CommandStatus::Enabled);
        QCOMPARE(m_editor->QueryStatus(decmd::REDO), CommandStatus::NotAvailable);
        QTest::keyClick(surface(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(body(), QStringLiteral("<P id=p>x</P>"));
        QTest::keyClick(surface(), Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(body(), QStringLiteral("<P id=p>xabc</P>"));
        // The status before each step says the opposite, so a status the step did not
        // bring cannot pass for it.
        QTRY_COMPARE(m_editor->QueryStatus(decmd::REDO), CommandStatus::NotAvailable);
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QTRY_COMPARE(m_editor->QueryStatus(decmd::REDO), CommandStatus::Enabled);
        // A new change ends what could be redone.
        QVERIFY(m_editor->pasteHTML("<B>new</B>"));
        QTRY_COMPARE(m_editor->QueryStatus(decmd::REDO), CommandStatus::NotAvailable);
        // Typing somewhere else starts a new step, even right after.
        QVERIFY(setBody(*m_editor, "<P id=p>x</P><P id=q>y</P>"));
        click(pointIn("p", 1, 1));
        QVERIFY(selectIn(*m_editor, "p", 1, 1));
        QTest::keyClicks(surface(), "ab");
        QTRY_COMPARE(body(), QStringLiteral("<P id=p>xab</P><P id=q>y</P>"));
        QVERIFY(selectIn(*m_editor, "q", 0, 0));
        QTest::keyClicks(surface(), "c");
        QTRY_COMPARE(body(), QStringLiteral("<P id=p>xab</P><P id=q>cy</P>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), QStringLiteral("<P id=p>xab</P><P id=q>y</P>"));
        // A fresh page starts a fresh history.
        QVERIFY(setBody(*m_editor, "<P id=p>x</P>"));
        QCOMPARE(m_editor->QueryStatus(decmd::UNDO), CommandStatus::NotAvailable);
    }

    void japaneseInputIsOneStep()
    {
        QVERIFY(setBody(*m_editor, "<P id=p>x</P>"));
        click(pointIn("p", 1, 1));
        QVERIFY(selectIn(*m_editor, "p", 1, 1));
        for (const char *preedit : {"k", "か", "かn", "かん", "かんじ"}) {
            QInputMethodEvent event(QString::fromUtf8(preedit), {});
            QApplication::sendEvent(surface(), &event);
        }
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("漢字"));
        QApplication::sendEvent(surface(), &commit);
        QTRY_COMPARE(body(), QStringLiteral("<P id=p>x漢字</P>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), QStringLiteral("<P id=p>x</P>"));
        QVERIFY(!m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QVERIFY(m_editor->ExecCommand(decmd::REDO, CommandOption::Prompt));
        QCOMPARE(body(), QStringLiteral("<P id=p>x漢字</P>"));
    }
};

LUMIPAGE_TEST_MAIN(TestEditingObjects)
#include "tst_editingobjects.moc"
