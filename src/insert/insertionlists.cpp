#include "insert/insertionlists.h"

#include "app/mainwindow.h"
#include "dialogs/elements/buttondialog.h"
#include "dialogs/elements/floatingframedialog.h"
#include "dialogs/elements/marqueedialog.h"
#include "dialogs/elements/ruledialog.h"
#include "dialogs/elements/selectitemsdialog.h"
#include "platform/editing/editingcomponent.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QEvent>

namespace lumipage
{

InsertionLists::InsertionLists(MainWindow &window) : QObject(&window), m_window(window)
{
    QComboBox *elements = window.elementList();
    QComboBox *effects = window.effectsList();
    elements->installEventFilter(this);
    effects->installEventFilter(this);
    connect(elements, &QComboBox::activated, this, &InsertionLists::Combo1_Click);
    connect(effects, &QComboBox::activated, this, &InsertionLists::Combo2_Click);
}

void InsertionLists::pasteFixed(const QString &fragment)
{
    m_window.shared().insert_html = fragment;
    m_window.veld_go();
}

void InsertionLists::Combo1_Click()
{
    const QString entry = m_window.elementList()->currentText();
    if (entry == QStringLiteral("ボタン"))
        ButtonDialog(m_window).exec();
    else if (entry == QStringLiteral("テキストボックス"))
        pasteFixed(QStringLiteral("<INPUT TYPE=\"text\" NAME=\"textbox1\">"));
    else if (entry == QStringLiteral("テキストエリア"))
        pasteFixed(QStringLiteral("<TEXTAREA></TEXTAREA>"));
    else if (entry == QStringLiteral("選択ボックス"))
        SelectItemsDialog(m_window).exec();
    else if (entry == QStringLiteral("フローティングフレーム"))
        FloatingFrameDialog(m_window).exec();
    else if (entry == QStringLiteral("チェックボタン"))
        pasteFixed(QStringLiteral("<INPUT TYPE=\"checkbox\">"));
    else if (entry == QStringLiteral("オプションボタン"))
        pasteFixed(QStringLiteral("<INPUT TYPE=\"radio\">"));
    else if (entry == QStringLiteral("水平罫線"))
        RuleDialog(m_window).exec();
    else if (entry == QStringLiteral("マーキー"))
        MarqueeDialog(m_window).exec();
}

void InsertionLists::Combo2_Click()
{
    // One script per page: nothing starts while the page already holds one.
    m_text1 = m_window.editor()->DocumentHTML();
    if (m_text1.contains(QStringLiteral("<SCRIPT type"))) {
        messages::inform(&m_window, QStringLiteral("既にVbscriptコードが記述されています。"));
        return;
    }
    QComboBox *effects = m_window.effectsList();
    if (effects->currentText() == QStringLiteral("初めにお読み下さい。"))
        m_window.run(QStringLiteral("show_attension"));
    else if (effects->findText(effects->currentText()) < 0)
        m_window.shared().effect_code = 0;
}

bool InsertionLists::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving a list puts its placeholder back, whatever it held.
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_window.elementList())
            m_window.elementList()->setEditText(QStringLiteral("Control"));
        else if (watched == m_window.effectsList())
            m_window.effectsList()->setEditText(QStringLiteral("DynamicHtml"));
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumipage
