#include "dialogs/effects/blendimagedialog.h"

#include "dialogs/effects/blendimagemarkup.h"
#include "dialogs/effects/effectdialog.h"
#include "platform/desktop/dialogform.h"

#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

BlendImageDialog::BlendImageDialog(CommonDialog &commonDialog, const QString &pageFolder,
                                   const IdDraw &draw, QWidget *parent)
    : QDialog(parent), m_pageFolder(pageFolder)
{
    DialogForm form(this, QStringLiteral("Form21"), QStringLiteral("BlendFilter設定画面"));
    const QString images = QStringLiteral("GIFファイル(*.gif)|*.gif|JPGファイル(*.jpg)|*.jpg|"
                                          "全てのファイル(*.*)|*.*");
    m_first =
        form.row(QStringLiteral("最初に表示させる画像"), form.lineEdit(QStringLiteral("Text1")));
    form.browseButton(QStringLiteral("Command1"), m_first, commonDialog, images);
    m_next = form.row(QStringLiteral("次に表示させる画像"), form.lineEdit(QStringLiteral("Text2")));
    form.browseButton(QStringLiteral("Command2"), m_next, commonDialog, images);
    // The box shows the whole image id ("image42"), not just the number drawn.
    auto *id = form.row(QString(), new RandomIdField(QStringLiteral("Text3"), draw, this));
    m_idNumber = id->number();
    id->setText(blendImageId(m_idNumber));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command3"), QStringLiteral("Command4"));
    resize(420, 140);
    // What OK builds from the fields now, also shown in the preview.
    const auto build = [this] {
        return blendImageRequest({m_first->text(), m_next->text(), m_idNumber}, m_pageFolder);
    };
    addEffectPreview(*this, *form.grid(), build);
    connect(ok, &QPushButton::clicked, this,
            [this, build] { finishEffect(*this, build(), m_request); });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_first->clear();
        m_next->clear();
        reject();
    });
}

} // namespace lumipage
