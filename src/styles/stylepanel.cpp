#include "styles/stylepanel.h"

#include "platform/browsing/browseframe.h"
#include "styles/valueeditors.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lumipage
{

namespace
{
enum Column { SelectorColumn, PlaceColumn, PropertyColumn, ValueColumn };

QString selectorText(const styles::StyleRow &row)
{
    QString text = row.selector;
    if (!row.media.isEmpty())
        text += u"  @media "_s + row.media;
    if (!row.inherited.isEmpty())
        text = u"継承（%1） "_s.arg(row.inherited) + text;
    return text;
}

QString valueText(const styles::StyleRow &row)
{
    QString text = row.value;
    if (row.important)
        text += u" !important"_s;
    if (!row.equivalent.isEmpty())
        text += u"  （CSS: %1）"_s.arg(row.equivalent);
    if (row.disabled)
        text += u"  （オフ）"_s;
    return text;
}
} // namespace

StylePanel::StylePanel(QWidget *parent) : QDockWidget(u"スタイル"_s, parent)
{
    setObjectName(u"stylePanel"_s);
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    m_element = new QLabel(body);
    m_element->setObjectName(u"styleElement"_s);
    auto *top = new QHBoxLayout;
    top->addWidget(m_element, 1);
    for (const auto &[name, state] : {std::pair{u"styleStateHover"_s, u"hover"_s},
                                      {u"styleStateActive"_s, u"active"_s},
                                      {u"styleStateFocus"_s, u"focus"_s},
                                      {u"styleStateVisited"_s, u"visited"_s}}) {
        auto *button = new QToolButton(body);
        button->setObjectName(name);
        button->setText(u':' + state);
        button->setCheckable(true);
        button->setProperty("state", state);
        button->setToolTip(u"要素を :%1 の状態にして表示します（保存されません）"_s.arg(state));
        connect(button, &QToolButton::toggled, this, &StylePanel::previewChanged);
        top->addWidget(button);
        m_states.append(button);
    }
    m_width = new QComboBox(body);
    m_width->setObjectName(u"styleWidth"_s);
    m_width->setToolTip(u"@media のルールをこの幅で読みます"_s);
    m_width->addItem(u"パソコン"_s, 0);
    for (const PreviewWidth width : {PreviewWidth::Tablet, PreviewWidth::Phone})
        m_width->addItem(
            u"%1 %2"_s.arg(width == PreviewWidth::Tablet ? u"タブレット"_s : u"スマートフォン"_s)
                .arg(cssWidth(width)),
            cssWidth(width));
    connect(m_width, &QComboBox::currentIndexChanged, this, &StylePanel::previewChanged);
    top->addWidget(m_width);
    layout->addLayout(top);

    auto *split = new QSplitter(Qt::Horizontal, body);
    m_rules = new QTreeWidget(split);
    m_rules->setObjectName(u"styleRules"_s);
    m_rules->setHeaderLabels({u"セレクタ"_s, u"場所"_s, u"プロパティ"_s, u"値"_s});
    m_rules->setRootIsDecorated(false);
    m_rules->setUniformRowHeights(true);
    m_rules->setAllColumnsShowFocus(true);
    m_rules->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_rules->header()->setStretchLastSection(true);
    m_computed = new QTreeWidget(split);
    m_computed->setObjectName(u"styleComputed"_s);
    m_computed->setHeaderLabels({u"計算された値"_s, u""_s});
    m_computed->setRootIsDecorated(false);
    m_computed->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    auto *edit = new QHBoxLayout;
    m_value = new QLineEdit(body);
    m_value->setObjectName(u"styleValue"_s);
    m_value->setPlaceholderText(u"値（Enter で反映）"_s);
    m_value->setEnabled(false);
    m_editors = new ValueEditors(*m_value, body);
    m_undo = new QPushButton(u"元に戻す"_s, body);
    m_undo->setObjectName(u"styleUndo"_s);
    m_undo->setToolTip(u"ページの編集を元に戻します（リンク先のスタイルシートの変更も）"_s);
    m_undo->setEnabled(false);
    m_switch = new QPushButton(u"オン/オフ"_s, body);
    m_switch->setObjectName(u"styleSwitch"_s);
    m_switch->setToolTip(u"宣言をコメントにしてオフにします（もう一度押すとオン）"_s);
    m_remove = new QPushButton(u"削除"_s, body);
    m_remove->setObjectName(u"styleRemove"_s);
    edit->addWidget(m_value, 1);
    edit->addWidget(m_editors);
    edit->addWidget(m_switch);
    edit->addWidget(m_remove);
    edit->addWidget(m_undo);
    layout->addLayout(edit);
    m_new = new QLineEdit(body);
    m_new->setObjectName(u"styleNew"_s);
    m_new->setPlaceholderText(u"この行のルールに追加（プロパティ: 値、Enter で追加）"_s);
    auto *adding = new QHBoxLayout;
    m_sheets = new QComboBox(body);
    m_sheets->setObjectName(u"styleSheets"_s);
    m_addRule = new QPushButton(u"クラスのルールを追加"_s, body);
    m_addRule->setObjectName(u"styleAddRule"_s);
    m_addRule->setToolTip(
        u"要素のクラス（なければ id）のルールを、選んだシートの最後に追加します"_s);
    adding->addWidget(m_new, 1);
    adding->addWidget(m_sheets);
    adding->addWidget(m_addRule);
    layout->addLayout(adding);
    m_message = new QLabel(body);
    m_message->setObjectName(u"styleMessage"_s);
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    setWidget(body);

    connect(m_rules, &QTreeWidget::currentItemChanged, this, &StylePanel::rowChanged);
    const auto enterValue = [this] {
        if (currentRow() >= 0)
            emit valueEntered(currentRow(), m_value->text());
    };
    connect(m_value, &QLineEdit::returnPressed, this, enterValue);
    connect(m_editors, &ValueEditors::applyRequested, this, enterValue);
    connect(m_undo, &QPushButton::clicked, this, &StylePanel::undoRequested);
    connect(m_switch, &QPushButton::clicked, this, [this] {
        if (currentRow() >= 0)
            emit switchRequested(currentRow());
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        if (currentRow() >= 0)
            emit removeRequested(currentRow());
    });
    connect(m_addRule, &QPushButton::clicked, this, [this] {
        if (m_sheets->currentIndex() >= 0)
            emit addRuleRequested(m_sheets->currentData().toInt(), m_new->text());
    });
    connect(m_new, &QLineEdit::returnPressed, this, [this] {
        if (currentRow() >= 0 && !m_new->text().trimmed().isEmpty())
            emit addRequested(currentRow(), m_new->text());
    });
}

void StylePanel::showRows(const QString &label, const QList<styles::StyleRow> &rows,
                          const QList<std::pair<QString, QString>> &computed)
{
    const int current = currentRow();
    const QString currentKey =
        current >= 0 ? m_rows[current].selector + m_rows[current].property : QString();
    m_rows = rows;
    m_element->setText(label);
    m_rules->clear();
    QList<QTreeWidgetItem *> items;
    for (const styles::StyleRow &row : rows) {
        auto *item =
            new QTreeWidgetItem({selectorText(row), row.place, row.property, valueText(row)});
        QFont font = item->font(0);
        font.setStrikeOut(row.overridden);
        for (int c = 0; c < 4; ++c) {
            item->setFont(c, font);
            if (row.disabled || !row.inherited.isEmpty())
                item->setForeground(c,
                                    m_rules->palette().color(QPalette::Disabled, QPalette::Text));
        }
        item->setToolTip(SelectorColumn, selectorText(row));
        item->setToolTip(ValueColumn, valueText(row));
        if (!row.readOnlyReason.isEmpty())
            item->setToolTip(PlaceColumn, row.readOnlyReason);
        items.append(item);
    }
    m_rules->addTopLevelItems(items);
    // Columns as wide as they need, but none so wide that the value goes out of sight (a
    // long selector or condition reads in full in its tool tip).
    for (int c = SelectorColumn; c < ValueColumn; ++c) {
        m_rules->resizeColumnToContents(c);
        m_rules->setColumnWidth(c, std::min(m_rules->columnWidth(c), 150));
    }
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].selector + rows[i].property == currentKey) {
            m_rules->setCurrentItem(items[i]);
            break;
        }
    m_computed->clear();
    for (const auto &[property, value] : computed)
        m_computed->addTopLevelItem(new QTreeWidgetItem({property, value}));
    rowChanged();
}

void StylePanel::showNothing(const QString &why)
{
    m_rows.clear();
    m_rules->clear();
    m_computed->clear();
    m_element->setText(why);
    rowChanged();
}

void StylePanel::showMessage(const QString &message)
{
    m_message->setText(message);
}

void StylePanel::setUndoAvailable(bool available)
{
    m_undo->setEnabled(available);
}

void StylePanel::setSheets(const QList<std::pair<QString, int>> &sheets)
{
    const QString chosen = m_sheets->currentText();
    m_sheets->clear();
    for (const auto &[label, sheet] : sheets)
        m_sheets->addItem(label, sheet);
    if (const int again = m_sheets->findText(chosen); again >= 0)
        m_sheets->setCurrentIndex(again);
    m_addRule->setEnabled(!sheets.isEmpty());
}

QStringList StylePanel::forcedStates() const
{
    QStringList states;
    for (const QToolButton *button : m_states)
        if (button->isChecked())
            states.append(button->property("state").toString());
    return states;
}

int StylePanel::chosenWidth() const
{
    return m_width->currentData().toInt();
}

int StylePanel::currentRow() const
{
    return m_rules->currentItem() ? m_rules->indexOfTopLevelItem(m_rules->currentItem()) : -1;
}

void StylePanel::rowChanged()
{
    const int row = currentRow();
    const bool editable = row >= 0 && m_rows[row].readOnlyReason.isEmpty();
    m_value->setEnabled(editable);
    const bool declaration = editable && m_rows[row].where != styles::Where::Presentational;
    m_switch->setEnabled(declaration);
    m_remove->setEnabled(declaration);
    m_value->setText(row >= 0 ? m_rows[row].value : QString());
    m_value->setToolTip(row >= 0 ? m_rows[row].readOnlyReason : QString());
    if (row < 0) {
        m_editors->showFor(QString(), false, false);
    } else {
        // A presentational attribute by the CSS property it stands for (bgcolor: a colour).
        const styles::StyleRow &r = m_rows[row];
        const bool attribute = r.where == styles::Where::Presentational;
        m_editors->showFor(attribute ? r.equivalent.section(u':', 0, 0).trimmed() : r.property,
                           editable, attribute);
    }
}

} // namespace lumipage
