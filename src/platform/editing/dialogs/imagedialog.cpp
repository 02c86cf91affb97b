#include "platform/editing/dialogs/imagedialog.h"

#include "platform/commondialog.h"
#include "platform/dialogform.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

ImageDialog::ImageDialog(const ImageFields &initial, CommonDialog &commonDialog, QWidget *parent)
    : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("ImageDialog"), QStringLiteral("画像"));
    m_source = form.row(QStringLiteral("画像ファイル:"),
                        form.lineEdit(QStringLiteral("imageSource"), initial.source));
    form.browseButton(QStringLiteral("imageBrowse"), m_source, commonDialog,
                      QStringLiteral("画像ファイル(*.gif;*.jpg;*.jpeg;*.png;*.bmp)|"
                                     "*.gif;*.jpg;*.jpeg;*.png;*.bmp|すべてのファイル(*.*)|*.*"));
    m_alt = form.row(QStringLiteral("代替テキスト:"),
                     form.lineEdit(QStringLiteral("imageAlt"), initial.alt));
    m_align = form.row(
        QStringLiteral("配置:"),
        form.comboBox(QStringLiteral("imageAlign"),
                      {QString(), QStringLiteral("left"), QStringLiteral("right"),
                       QStringLiteral("top"), QStringLiteral("middle"), QStringLiteral("bottom"),
                       QStringLiteral("absmiddle"), QStringLiteral("baseline"),
                       QStringLiteral("texttop"), QStringLiteral("absbottom")},
                      initial.align));
    const QString pixels = QStringLiteral("ピクセル");
    m_border = form.row(QStringLiteral("枠線:"),
                        form.lineEdit(QStringLiteral("imageBorder"), initial.border), pixels);
    m_hspace = form.row(QStringLiteral("横の間隔:"),
                        form.lineEdit(QStringLiteral("imageHspace"), initial.hspace), pixels);
    m_vspace = form.row(QStringLiteral("縦の間隔:"),
                        form.lineEdit(QStringLiteral("imageVspace"), initial.vspace), pixels);
    auto [ok, cancel] = form.okCancel(QStringLiteral("imageOk"), QStringLiteral("imageCancel"),
                                      QStringLiteral("OK"), QStringLiteral("キャンセル"));
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
