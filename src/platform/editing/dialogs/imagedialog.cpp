#include "platform/editing/dialogs/imagedialog.h"

#include "dialogs/elements/dialogform.h"
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
    m_source =
        form.line(QStringLiteral("imageSource"), QStringLiteral("画像ファイル:"), initial.source);
    form.browseButton(QStringLiteral("imageBrowse"), m_source, commonDialog,
                      QStringLiteral("画像ファイル(*.gif;*.jpg;*.jpeg;*.png;*.bmp)|"
                                     "*.gif;*.jpg;*.jpeg;*.png;*.bmp|すべてのファイル(*.*)|*.*"));
    m_alt = form.line(QStringLiteral("imageAlt"), QStringLiteral("代替テキスト:"), initial.alt);
    m_align = form.combo(QStringLiteral("imageAlign"), QStringLiteral("配置:"),
                         {QString(), QStringLiteral("left"), QStringLiteral("right"),
                          QStringLiteral("top"), QStringLiteral("middle"), QStringLiteral("bottom"),
                          QStringLiteral("absmiddle"), QStringLiteral("baseline"),
                          QStringLiteral("texttop"), QStringLiteral("absbottom")},
                         initial.align);
    m_border = form.line(QStringLiteral("imageBorder"), QStringLiteral("枠線:"), initial.border,
                         QStringLiteral("ピクセル"));
    m_hspace = form.line(QStringLiteral("imageHspace"), QStringLiteral("横の間隔:"), initial.hspace,
                         QStringLiteral("ピクセル"));
    m_vspace = form.line(QStringLiteral("imageVspace"), QStringLiteral("縦の間隔:"), initial.vspace,
                         QStringLiteral("ピクセル"));
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
