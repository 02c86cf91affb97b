#pragma once

#include "styles/stylecascade.h"

#include <QDockWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace lumipage
{

class ValueEditors;

// The style panel (`stylePanel`): the rules that apply to the caret's element, one row per
// declaration (`styleRules`: セレクタ / 場所 / プロパティ / 値; overridden ones struck
// through), the current row's value to edit (`styleValue`, Enter applies) with the editor
// that fits its property beside it (ValueEditors), オン/オフ
// (`styleSwitch`), 削除 (`styleRemove`), a declaration to add to the row's rule
// (`styleNew`: "property: value", Enter adds) or, with 「クラスのルールを追加」
// (`styleAddRule`), to a new rule for the element's class or id in the sheet chosen in
// `styleSheets`, 「元に戻す」 (`styleUndo`, the page's undo, which takes sheet edits back
// too), a line for messages (`styleMessage`) and the engine's computed values
// (`styleComputed`). Above the rows, the states forced on the element for preview
// (`styleStateHover`, `styleStateActive`, `styleStateFocus`, `styleStateVisited`) and the
// view width the rules are read at (`styleWidth`: パソコン, タブレット 768, スマートフォン 375).
// It only shows and reports; StyleController fills it.
class StylePanel : public QDockWidget
{
    Q_OBJECT
public:
    explicit StylePanel(QWidget *parent = nullptr);

    // Shows the rows of the element `label`, and the computed values (property, value).
    void showRows(const QString &label, const QList<styles::StyleRow> &rows,
                  const QList<std::pair<QString, QString>> &computed);
    // No element to show (no caret, or the page could not answer).
    void showNothing(const QString &why);
    // A message for the user under the rows (a refused value, a failed write); empty
    // clears it.
    void showMessage(const QString &message);
    void setUndoAvailable(bool available);
    // The sheets a new rule may go into: (label, sheet), the first chosen.
    void setSheets(const QList<std::pair<QString, int>> &sheets);

    const QList<styles::StyleRow> &rows() const { return m_rows; }
    int currentRow() const;
    // The states checked ("hover", "active", "focus", "visited").
    QStringList forcedStates() const;
    // The chosen view width in CSS pixels; 0 for the real view (パソコン).
    int chosenWidth() const;

signals:
    // The user typed `value` for the row `row` and pressed Enter.
    void valueEntered(int row, const QString &value);
    void undoRequested();
    // The user asked to switch the row's declaration off (or on), to remove it, or to add
    // `typed` ("property: value") to the row's rule.
    void switchRequested(int row);
    void removeRequested(int row);
    void addRequested(int row, const QString &typed);
    // The user asked for a new rule for the element's class (or id) in the sheet `sheet`
    // (as the page's answer numbers them), holding `typed` ("property: value").
    void addRuleRequested(int sheet, const QString &typed);
    // A state was forced or released, or another width chosen.
    void previewChanged();

private:
    void rowChanged();

    QLabel *m_element = nullptr;
    QList<QToolButton *> m_states;
    QComboBox *m_width = nullptr;
    QTreeWidget *m_rules = nullptr;
    QLineEdit *m_value = nullptr;
    ValueEditors *m_editors = nullptr;
    QLineEdit *m_new = nullptr;
    QPushButton *m_switch = nullptr;
    QPushButton *m_remove = nullptr;
    QComboBox *m_sheets = nullptr;
    QPushButton *m_addRule = nullptr;
    QPushButton *m_undo = nullptr;
    QLabel *m_message = nullptr;
    QTreeWidget *m_computed = nullptr;
    QList<styles::StyleRow> m_rows;
};

} // namespace lumipage
