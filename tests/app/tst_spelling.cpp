// Spelling on the editing page, in the real engine with the dictionary the build makes:
// a right click on a misspelt English word offers the checker's suggestions at the top of
// the right-click menu, choosing one replaces the word as one undo step, Japanese text is
// left alone, and the setting 「スペルチェック」 switches all of it off and on at once.
#include "support/testsupport.h"

#include "commands/commandactions.h"
#include "app/contextmenucontroller.h"
#include "check/spellingsetting.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestSpelling : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;
    // No menu is connected to these: a right click only reports what it landed on.
    CommandActions m_actions;

    QWidget *surface() { return m_editor->findChild<QWebEngineView *>()->focusProxy(); }
    // Right-clicks inside the element `id` and answers the misspelt word the component
    // reported for that click ("(no request)" when none came); `engine`: the word the
    // engine itself reported.
    QString misspeltWordIn(const char *id, bool engine = false)
    {
        const QVariantMap box = m_editor->call("elementInfo", {id}).value.toMap();
        const QPoint at(qRound(box.value("left").toDouble()) + 4,
                        qRound(box.value("top").toDouble()) + 4);
        QSignalSpy asked(m_editor.get(), &EditingComponent::contextMenuRequested);
        QTest::mouseClick(surface(), Qt::RightButton, {}, at);
        if (!asked.wait(5000))
            return QStringLiteral("(no request)");
        return engine ? m_editor->findChild<QWebEngineView *>()
                            ->lastContextMenuRequest()
                            ->misspelledWord()
                      : m_editor->misspellingAtContextMenu().word;
    }
    // The texts of the right-click menu as it would show now (separators empty).
    QStringList menuTexts(ContextMenuController &controller)
    {
        QStringList texts;
        const std::unique_ptr<QMenu> menu = controller.buildMenu(nullptr);
        for (const QAction *entry : menu->actions())
            texts << entry->text();
        return texts;
    }

private slots:
    void initTestCase()
    {
        QSettings().remove(QStringLiteral("spelling/enabled"));
        m_editor = shownEditor();
        spelling::registerSetting(*m_editor, m_actions);
        QVERIFY(m_editor->spellChecking()); // on by default
    }

    void suggestionsReplaceTheWordAsOneStep()
    {
        QVERIFY(setBody(*m_editor, "<P>This <SPAN id=w>sentense</SPAN> has "
                                   "<SPAN id=j>日本語のてきすと</SPAN> and "
                                   "<SPAN id=ok>words</SPAN>.</P>"));
        QVERIFY(clickPage(*m_editor, QPoint(2, 2))); // the checker looks at the focused page
        QTRY_COMPARE_WITH_TIMEOUT(misspeltWordIn("w"), QStringLiteral("sentense"), 10000);
        const QStringList suggestions = m_editor->misspellingAtContextMenu().suggestions;
        QVERIFY2(suggestions.contains("sentence"), qPrintable(suggestions.join(',')));
        QCOMPARE(misspeltWordIn("ok"), QString());
        QCOMPARE(misspeltWordIn("j"), QString()); // Japanese is not checked

        QVERIFY(!misspeltWordIn("w").isEmpty());
        const QString before = bodyOf(*m_editor);
        {
            CommandActions actions;
            ContextMenuController controller(*m_editor, actions);
            const std::unique_ptr<QMenu> menu = controller.buildMenu(nullptr);
            const QList<QAction *> entries = menu->actions();
            // The suggestions first, a separator, then the menu's own entries.
            const qsizetype count = suggestions.size();
            for (qsizetype i = 0; i < count; ++i)
                QCOMPARE(entries.at(i)->text(), suggestions.at(i));
            QVERIFY(entries.at(count)->isSeparator());
            QCOMPARE(entries.at(count + 1)->text(), QStringLiteral("複写"));
            controller.runEntry(*entries.at(suggestions.indexOf("sentence")));
        }
        QTRY_VERIFY(bodyOf(*m_editor).contains("<SPAN id=w>sentence</SPAN>"));
        QVERIFY(m_editor->ExecCommand(decmd::UNDO, CommandOption::Prompt));
        QCOMPARE(bodyOf(*m_editor), before);
    }

    void theSettingSwitchesCheckingAtOnceAndIsRemembered()
    {
        QVERIFY(setBody(*m_editor, "<P>A <SPAN id=w>mispelt</SPAN> word.</P>"));
        QVERIFY(clickPage(*m_editor, QPoint(2, 2)));
        QTRY_COMPARE_WITH_TIMEOUT(misspeltWordIn("w"), QStringLiteral("mispelt"), 10000);

        QAction *toggle = m_actions.action(CommandId::SpellCheck);
        QVERIFY(toggle->isCheckable() && toggle->isChecked());
        toggle->trigger();
        QCOMPARE(QSettings().value("spelling/enabled").toBool(), false);
        QCOMPARE(misspeltWordIn("w"), QString());
        QTRY_COMPARE(misspeltWordIn("w", true), QString()); // the underline goes too
        {
            CommandActions actions;
            ContextMenuController controller(*m_editor, actions);
            QCOMPARE(menuTexts(controller).first(), QStringLiteral("複写"));
        }
        // The next start reads the choice.
        CommandActions restarted;
        spelling::registerSetting(*m_editor, restarted);
        QVERIFY(!restarted.action(CommandId::SpellCheck)->isChecked());

        toggle->trigger();
        QVERIFY(m_editor->spellChecking());
        QVERIFY(clickPage(*m_editor, QPoint(2, 2))); // into the page, as at the start
        QTRY_COMPARE_WITH_TIMEOUT(misspeltWordIn("w"), QStringLiteral("mispelt"), 10000);
    }
};

LUMIPAGE_TEST_MAIN(TestSpelling)
#include "tst_spelling.moc"
