#include "platform/editing/dialogs/fontdialog.h"

#include "platform/desktop/commondialog.h"
#include "platform/desktop/dialogform.h"
#include "platform/desktop/messages.h"

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
    DialogForm form(this, QStringLiteral("FontDialog"), QStringLiteral("フォント"));
    m_face = form.row(
        QStringLiteral("フォント名:"),
        form.comboBox(QStringLiteral("fontFace"), QFontDatabase::families(), current.face));
    m_size = form.row(QStringLiteral("サイズ:"),
                      form.comboBox(QStringLiteral("fontSize"),
                                    {QString(), QStringLiteral("1"), QStringLiteral("2"),
                                     QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                                     QStringLiteral("6"), QStringLiteral("7")},
                                    current.size),
                      QStringLiteral("(1～7)"));
    m_color = form.row(QStringLiteral("色:"),
                       form.lineEdit(QStringLiteral("fontColor"), pageColour(current.color)));
    QPushButton *choose = form.button(QStringLiteral("fontColorChoose"), QStringLiteral("色の選択"),
                                      form.nextRow() - 1, 2);

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
    form.grid()->addLayout(styles, form.nextRow(), 0, 1, 3);
    form.skipRow();
    auto [ok, cancel] = form.okCancel(QStringLiteral("fontOk"), QStringLiteral("fontCancel"),
                                      QStringLiteral("OK"), QStringLiteral("キャンセル"));

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
