#include "platform/editing/dialogs/fontdialog.h"

#include "platform/commondialog.h"
#include "platform/editing/dialogs/surfaceform.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

FontDialog::FontDialog(const FontFields &current, CommonDialog &commonDialog, QWidget *parent)
    : QDialog(parent), m_current(current)
{
    using namespace surfaceform;
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(QStringLiteral("フォント"));
    auto *grid = new QGridLayout(this);
    m_face = comboBox(this, QStringLiteral("fontFace"), QFontDatabase::families(), current.face);
    int row = addRow(grid, 0, QStringLiteral("フォント名:"), m_face);
    m_size = comboBox(this, QStringLiteral("fontSize"),
                      {QString(), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                       QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                       QStringLiteral("7")},
                      current.size);
    row = addRow(grid, row, QStringLiteral("サイズ:"), m_size, QStringLiteral("(1～7)"));
    m_color = lineEdit(this, QStringLiteral("fontColor"), pageColour(current.color));
    row = addRow(grid, row, QStringLiteral("色:"), m_color);
    QPushButton *choose =
        button(grid, QStringLiteral("fontColorChoose"), QStringLiteral("色の選択"), row - 1, 2);

    auto *styles = new QHBoxLayout;
    auto check = [this, styles](const char *name, const char *caption, bool on) {
        auto *box = new QCheckBox(QString::fromUtf8(caption), this);
        box->setObjectName(QLatin1String(name));
        box->setChecked(on);
        styles->addWidget(box);
        return box;
    };
    m_bold = check("fontBold", "太字", current.bold);
    m_italic = check("fontItalic", "斜体", current.italic);
    m_underline = check("fontUnderline", "下線", current.underline);
    styles->addStretch();
    grid->addLayout(styles, row, 0, 1, 3);
    auto [ok, cancel] =
        okCancel(grid, row + 1, QStringLiteral("fontOk"), QStringLiteral("fontCancel"));

    connect(choose, &QPushButton::clicked, this, [this, &commonDialog] {
        if (const auto colour = commonDialog.showColor(this))
            m_color->setText(colour->name());
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        const FontRequest made = fontRequest(fields(), m_current);
        if (!made.problem.isEmpty()) {
            messages::inform(this, made.problem);
            return;
        }
        m_request = made.request;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

FontFields FontDialog::fields() const
{
    return {m_face->currentText(), m_size->currentText(), m_color->text(),
            m_bold->isChecked(),   m_italic->isChecked(), m_underline->isChecked()};
}

} // namespace lumipage
