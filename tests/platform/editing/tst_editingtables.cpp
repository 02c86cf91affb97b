// Tables in the real engine: insertion, the cell / row / column commands with their
// spans, statuses, and undo / redo of each.
#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"

using namespace lumipage;
using namespace lumipage::test;

namespace
{

QString row(const QString &n)
{
    return QStringLiteral("<TR><TD id=a%1>a%1</TD><TD id=b%1>b%1</TD><TD id=c%1>c%1</TD></TR>")
        .arg(n);
}

const QString kEmpty = QStringLiteral("<TD><BR></TD>");

QString grid3()
{
    return QStringLiteral("<TABLE id=t border=1><TBODY>") + row("1") + row("2") + row("3") +
           QStringLiteral("</TBODY></TABLE>");
}

} // namespace

class TestEditingTables : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;

    QString body() { return bodyOf(*m_editor); }
    bool exec(int command)
    {
        return m_editor->ExecCommand(command, CommandOption::DontPrompt, qint16(1));
    }

private slots:
    void initTestCase() { m_editor = shownEditor(); }
    void cleanupTestCase() { m_editor.reset(); }

    void refusedCountsLeaveThePageByteIdentical()
    {
        QVERIFY(setBody(*m_editor, QStringLiteral("<P id=p>text</P>")));
        QVERIFY(selectIn(*m_editor, "p", 2, 2));
        const QString before = m_editor->DocumentHTML();
        for (const char *rows : {"", "0", "x", "-3", "1e9", "1001", "2.5"}) {
            const InsertTableParam param{QString::fromLatin1(rows), "2", "border=1", "", ""};
            QVERIFY(!m_editor->ExecCommand(decmd::INSERTTABLE, CommandOption::Default,
                                           QVariant::fromValue(param)));
            QVERIFY2(!m_editor->lastError().isEmpty(), rows);
        }
        const InsertTableParam tooWide{"2", "101", "", "", ""};
        QVERIFY(!m_editor->ExecCommand(decmd::INSERTTABLE, CommandOption::Default,
                                       QVariant::fromValue(tooWide)));
        QCOMPARE(m_editor->DocumentHTML(), before);
        QCOMPARE(m_editor->QueryStatus(decmd::UNDO), CommandStatus::NotAvailable);
    }

    void insertedTableTakesTheCaretAndUndoesInOneStep()
    {
        QVERIFY(setBody(*m_editor, QStringLiteral("<P id=p>text</P>")));
        QVERIFY(selectIn(*m_editor, "p", 4, 4));
        const QString before = body();
        const InsertTableParam param{"2", "2", "border=1 width=50%", "bgcolor=white", "Cap"};
        QVERIFY(m_editor->ExecCommand(decmd::INSERTTABLE, CommandOption::Default,
                                      QVariant::fromValue(param)));
        QVERIFY2(body().contains("<TABLE border=1 width=50%><CAPTION>Cap</CAPTION><TBODY><TR>"
                                 "<TD bgcolor=white><BR></TD>"),
                 qPrintable(body()));
        QVERIFY(waitForDisplayChanged(*m_editor));
        // The caret is in the first cell: the table commands are available.
        QCOMPARE(m_editor->QueryStatus(decmd::INSERTROW), CommandStatus::Enabled);
        QVERIFY(m_editor->pasteHTML("first"));
        QVERIFY2(body().contains("<TD bgcolor=white>first"), qPrintable(body()));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), before);
    }

    void cellRowAndColumnCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("expected");
        const QString head = QStringLiteral("<TABLE id=t border=1><TBODY>");
        const QString tail = QStringLiteral("</TBODY></TABLE>");
        QString withColumn = grid3();
        for (const char *n : {"1", "2", "3"})
            withColumn.replace(QStringLiteral("b%1</TD>").arg(n),
                               QStringLiteral("b%1</TD>").arg(n) + kEmpty);
        QTest::newRow("insert row below")
            << int(decmd::INSERTROW)
            << head + row("1") + row("2") + "<TR>" + kEmpty.repeated(3) + "</TR>" + row("3") + tail;
        QTest::newRow("insert column right") << int(decmd::INSERTCOL) << withColumn;
        QTest::newRow("insert cell right")
            << int(decmd::INSERTCELL) << QString(grid3()).replace("b2</TD>", "b2</TD>" + kEmpty);
        QTest::newRow("delete cell")
            << int(decmd::DELETECELLS) << QString(grid3()).replace("<TD id=b2>b2</TD>", "");
        QTest::newRow("delete column")
            << int(decmd::DELETECOLS)
            << QString(grid3()).remove(QRegularExpression("<TD id=b\\d>b\\d</TD>"));
        QTest::newRow("delete row") << int(decmd::DELETEROWS) << head + row("1") + row("3") + tail;
    }

    void cellRowAndColumnCommands()
    {
        QFETCH(int, command);
        QFETCH(QString, expected);
        QVERIFY(setBody(*m_editor, grid3()));
        QVERIFY(selectIn(*m_editor, "b2", 1, 1));
        QCOMPARE(m_editor->QueryStatus(command), CommandStatus::Enabled);
        QVERIFY(exec(command));
        const QString after = body();
        QCOMPARE(after, expected);
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), grid3());
        QVERIFY(m_editor->ExecCommand(decmd::REDO, CommandOption::Prompt));
        QCOMPARE(body(), after);
    }

    void spansStayConsistent()
    {
        const QString spanned =
            QStringLiteral("<TABLE id=t><TBODY><TR><TD id=a1 rowspan=2>a</TD><TD id=b1>b1</TD></TR>"
                           "<TR><TD id=b2>b2</TD></TR></TBODY></TABLE>");
        QVERIFY(setBody(*m_editor, spanned));
        QVERIFY(selectIn(*m_editor, "b1", 0, 0));
        QVERIFY(exec(decmd::INSERTROW));
        QCOMPARE(body(), QStringLiteral("<TABLE id=t><TBODY><TR><TD id=a1 rowspan=3>a</TD>"
                                        "<TD id=b1>b1</TD></TR><TR><TD><BR></TD></TR>"
                                        "<TR><TD id=b2>b2</TD></TR></TBODY></TABLE>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QVERIFY(selectIn(*m_editor, "b1", 0, 0));
        // The spanning cell moves down into the row that stays, one row shorter.
        QVERIFY(exec(decmd::DELETEROWS));
        QCOMPARE(body(), QStringLiteral("<TABLE id=t><TBODY><TR><TD id=a1>a</TD>"
                                        "<TD id=b2>b2</TD></TR></TBODY></TABLE>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(body(), spanned);
        // A column inserted beside a cell that spans two columns widens only that row's cell.
        const QString wide =
            QStringLiteral("<TABLE id=t><TBODY><TR><TD id=w colspan=2>w</TD></TR>"
                           "<TR><TD id=x>x</TD><TD id=y>y</TD></TR></TBODY></TABLE>");
        QVERIFY(setBody(*m_editor, wide));
        QVERIFY(selectIn(*m_editor, "x", 0, 0));
        QVERIFY(exec(decmd::INSERTCOL));
        QCOMPARE(body(), QStringLiteral("<TABLE id=t><TBODY><TR><TD id=w colspan=3>w</TD></TR>"
                                        "<TR><TD id=x>x</TD><TD><BR></TD><TD id=y>y</TD></TR>"
                                        "</TBODY></TABLE>"));
        QVERIFY(selectIn(*m_editor, "w", 0, 0));
        QVERIFY(exec(decmd::DELETECOLS)); // all three columns the cell covers
        QCOMPARE(body(), QString());
    }

    void aSelectionAcrossCellsCoversTheirRectangle()
    {
        // From inside b1 to inside c2: rows 1-2, columns b-c.
        QVERIFY(setBody(*m_editor, grid3()));
        QVERIFY(selectIn(*m_editor, "t", 3, 11));
        QVERIFY(exec(decmd::DELETECOLS));
        QCOMPARE(body(), QStringLiteral("<TABLE id=t border=1><TBODY><TR><TD id=a1>a1</TD></TR>"
                                        "<TR><TD id=a2>a2</TD></TR><TR><TD id=a3>a3</TD></TR>"
                                        "</TBODY></TABLE>"));
        QVERIFY(setBody(*m_editor, grid3()));
        QVERIFY(selectIn(*m_editor, "t", 3, 11));
        QVERIFY(exec(decmd::DELETEROWS));
        QCOMPARE(body(), QStringLiteral("<TABLE id=t border=1><TBODY>") + row("3") +
                             QStringLiteral("</TBODY></TABLE>"));
        QVERIFY(setBody(*m_editor, grid3()));
        QVERIFY(selectIn(*m_editor, "t", 3, 11));
        QVERIFY(exec(decmd::INSERTROW)); // below the last selected row
        QVERIFY(body().contains(row("2") + "<TR>" + kEmpty.repeated(3) + "</TR>" + row("3")));
    }

    void deletingTheLastRowOrColumnRemovesTheTable()
    {
        for (int command :
             {int(decmd::DELETEROWS), int(decmd::DELETECOLS), int(decmd::DELETECELLS)}) {
            QVERIFY(setBody(*m_editor, "<P>x</P><TABLE><TBODY><TR><TD id=only>1</TD></TR></TBODY>"
                                       "</TABLE><P>y</P>"));
            QVERIFY(selectIn(*m_editor, "only", 0, 0));
            QVERIFY(exec(command));
            QCOMPARE(body(), QStringLiteral("<P>x</P><P>y</P>"));
        }
    }

    void commandsAreAvailableOnlyInACell()
    {
        QVERIFY(setBody(*m_editor, QStringLiteral("<P id=p>out</P>") + grid3()));
        const int commands[] = {decmd::INSERTCELL,  decmd::INSERTCOL,  decmd::INSERTROW,
                                decmd::DELETECELLS, decmd::DELETECOLS, decmd::DELETEROWS};
        QVERIFY(selectIn(*m_editor, "p", 1, 1));
        for (int command : commands) {
            QCOMPARE(m_editor->QueryStatus(command), CommandStatus::NotAvailable);
            QVERIFY(!exec(command));
        }
        QVERIFY(selectIn(*m_editor, "c3", 0, 2));
        for (int command : commands)
            QCOMPARE(m_editor->QueryStatus(command), CommandStatus::Enabled);
    }
};

LUMIPAGE_TEST_MAIN(TestEditingTables)
#include "tst_editingtables.moc"
