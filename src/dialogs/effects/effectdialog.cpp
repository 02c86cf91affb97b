#include "dialogs/effects/effectdialog.h"

#include "platform/desktop/messages.h"
#include "widgets/effectpreview.h"

#include <QDialog>
#include <QGridLayout>

namespace lumipage
{

void finishEffect(QDialog &dialog, const EffectResult &result, EffectRequest &request)
{
    if (const auto *built = std::get_if<EffectRequest>(&result)) {
        request = *built;
        dialog.accept();
        return;
    }
    const auto &other = std::get<BuildResult>(result);
    if (other.isProblem())
        messages::inform(&dialog, other.text);
    else
        dialog.reject();
}

void addEffectPreview(QDialog &dialog, QGridLayout &grid, std::function<EffectResult()> current)
{
    auto *preview = new EffectPreview(
        [current = std::move(current)]() -> std::optional<EffectRequest> {
            const EffectResult result = current();
            if (const auto *request = std::get_if<EffectRequest>(&result))
                return *request;
            return std::nullopt;
        },
        &dialog);
    // Above the OK / Cancel row, which moves one row down.
    const int buttonsRow = grid.rowCount() - 1;
    QList<std::pair<QLayoutItem *, QList<int>>> moved;
    for (int i = grid.count() - 1; i >= 0; --i) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid.getItemPosition(i, &row, &column, &rows, &columns);
        if (row == buttonsRow)
            moved.append({grid.takeAt(i), {column, rows, columns}});
    }
    for (const auto &[item, at] : moved)
        grid.addItem(item, buttonsRow + 1, at[0], at[1], at[2]);
    grid.addWidget(preview, buttonsRow, 0, 1, -1);
    preview->follow(&dialog);
    dialog.resize(qMax(dialog.width(), 420), dialog.height() + 160);
}

} // namespace lumipage
