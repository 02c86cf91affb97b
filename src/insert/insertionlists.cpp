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

namespace
{

template <typename Dialog> void openDialog(MainWindow &window)
{
    Dialog(window).exec();
}

// The element list in list order: a fixed fragment pasted at once, or a dialog.
struct ElementEntry {
    const char *name;
    const char *fragment;
    void (*dialog)(MainWindow &);
};
// clang-format off
const ElementEntry kElements[] = {
    {"ボタン",                 nullptr,                                   openDialog<ButtonDialog>},
    {"テキストボックス",       "<INPUT TYPE=\"text\" NAME=\"textbox1\">", nullptr},
    {"テキストエリア",         "<TEXTAREA></TEXTAREA>",                   nullptr},
    {"選択ボックス",           nullptr,                                   openDialog<SelectItemsDialog>},
    {"フローティングフレーム", nullptr,                                   openDialog<FloatingFrameDialog>},
    {"チェックボタン",         "<INPUT TYPE=\"checkbox\">",               nullptr},
    {"オプションボタン",       "<INPUT TYPE=\"radio\">",                  nullptr},
    {"水平罫線",               nullptr,                                   openDialog<RuleDialog>},
    {"マーキー",               nullptr,                                   openDialog<MarqueeDialog>},
};
// clang-format on

const char *const kEffects[] = {"初めにお読み下さい。",
                                "RevealTransition(Text)",
                                "RevealTransition(Image)",
                                "BlendFilter",
                                "影付き文字",
                                "波文字",
                                "燃える文字",
                                "消える文字",
                                "ﾏｳｽで色が変わる文字"};

} // namespace

InsertionLists::InsertionLists(MainWindow &window) : QObject(&window), m_window(window)
{
    QComboBox *elements = window.elementList();
    QComboBox *effects = window.effectsList();
    elements->installEventFilter(this);
    effects->installEventFilter(this);
    connect(elements, &QComboBox::activated, this, &InsertionLists::Combo1_Click);
    connect(effects, &QComboBox::activated, this, &InsertionLists::Combo2_Click);
}

void InsertionLists::fill()
{
    QComboBox *elements = m_window.elementList();
    QComboBox *effects = m_window.effectsList();
    elements->clear();
    for (const ElementEntry &entry : kElements)
        elements->addItem(QString::fromUtf8(entry.name));
    effects->clear();
    for (const char *entry : kEffects)
        effects->addItem(QString::fromUtf8(entry));
    elements->setEditText(QStringLiteral("Control"));
    effects->setEditText(QStringLiteral("DynamicHtml"));
}

void InsertionLists::Combo1_Click()
{
    const QString text = m_window.elementList()->currentText();
    for (const ElementEntry &entry : kElements) {
        if (text != QString::fromUtf8(entry.name))
            continue;
        if (entry.dialog) {
            entry.dialog(m_window);
        } else {
            m_window.shared().insert_html = QString::fromUtf8(entry.fragment);
            m_window.veld_go();
        }
        return;
    }
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
