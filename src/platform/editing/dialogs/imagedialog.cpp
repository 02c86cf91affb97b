#include "platform/editing/dialogs/imagedialog.h"

#include "platform/commondialog.h"
#include "platform/editing/dialogs/surfaceform.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

ImageDialog::ImageDialog(const ImageFields &initial, CommonDialog &commonDialog, QWidget *parent)
    : QDialog(parent)
{
    using namespace surfaceform;
    setObjectName(QStringLiteral("ImageDialog"));
    setWindowTitle(QStringLiteral("画像"));
    auto *grid = new QGridLayout(this);
    m_source = lineEdit(this, QStringLiteral("imageSource"), initial.source);
    int row = addRow(grid, 0, QStringLiteral("画像ファイル:"), m_source);
    QPushButton *browse = button(grid, QStringLiteral("imageBrowse"), QStringLiteral("参照"), 0, 2);
    connect(browse, &QPushButton::clicked, this, [this, &commonDialog] {
        commonDialog.filter =
            QStringLiteral("画像ファイル(*.gif;*.jpg;*.jpeg;*.png;*.bmp)|"
                           "*.gif;*.jpg;*.jpeg;*.png;*.bmp|すべてのファイル(*.*)|*.*");
        if (const auto file = commonDialog.showOpen(this))
            m_source->setText(*file);
    });
    m_alt = lineEdit(this, QStringLiteral("imageAlt"), initial.alt);
    row = addRow(grid, row, QStringLiteral("代替テキスト:"), m_alt);
    m_align = comboBox(this, QStringLiteral("imageAlign"),
                       {QString(), QStringLiteral("left"), QStringLiteral("right"),
                        QStringLiteral("top"), QStringLiteral("middle"), QStringLiteral("bottom"),
                        QStringLiteral("absmiddle"), QStringLiteral("baseline"),
                        QStringLiteral("texttop"), QStringLiteral("absbottom")},
                       initial.align);
    row = addRow(grid, row, QStringLiteral("配置:"), m_align);
    m_border = lineEdit(this, QStringLiteral("imageBorder"), initial.border);
    row = addRow(grid, row, QStringLiteral("枠線:"), m_border, QStringLiteral("ピクセル"));
    m_hspace = lineEdit(this, QStringLiteral("imageHspace"), initial.hspace);
    row = addRow(grid, row, QStringLiteral("横の間隔:"), m_hspace, QStringLiteral("ピクセル"));
    m_vspace = lineEdit(this, QStringLiteral("imageVspace"), initial.vspace);
    row = addRow(grid, row, QStringLiteral("縦の間隔:"), m_vspace, QStringLiteral("ピクセル"));
    auto [ok, cancel] =
        okCancel(grid, row, QStringLiteral("imageOk"), QStringLiteral("imageCancel"));
    resize(440, height());

    connect(ok, &QPushButton::clicked, this, [this] {
        const QString problem = imageProblem(fields());
        if (!problem.isEmpty()) {
            messages::inform(this, problem);
            return;
        }
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ImageFields ImageDialog::fields() const
{
    return {m_source->text(), m_alt->text(),    m_align->currentText(),
            m_border->text(), m_hspace->text(), m_vspace->text()};
}

} // namespace lumipage
