#include "dialogs/effects/revealimagedialog.h"

#include "dialogs/effects/effectdialog.h"
#include "dialogs/effects/revealimagemarkup.h"
#include "platform/desktop/dialogform.h"
#include "widgets/transitionbox.h"

#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

RevealImageDialog::RevealImageDialog(CommonDialog &commonDialog, const QString &pageFolder,
                                     QWidget *parent)
    : QDialog(parent), m_pageFolder(pageFolder)
{
    DialogForm form(this, QStringLiteral("Form7"), QStringLiteral("イメージTransition設定画面"));
    m_image = form.row(QStringLiteral("画像"), form.lineEdit(QStringLiteral("Text1")));
    form.browseButton(QStringLiteral("Command1"), m_image, commonDialog,
                      QStringLiteral("GIFファイル(*.gif)|*.gif|JPGファイル(*.jpg)|*.jpg|"
                                     "全てのファイル(*.*)|*.*"));
    m_alt = form.row(QStringLiteral("代替ﾃｷｽﾄ"), form.lineEdit(QStringLiteral("Text2")));
    m_transition =
        form.row(QStringLiteral("Transition"),
                 new TransitionBox(QStringLiteral("Combo2"), QStringLiteral("Text3"), this));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    resize(420, 150);
    connect(m_transition, &TransitionBox::textChanged, ok, [ok] { ok->setEnabled(true); });
    // What OK builds from the fields now, also shown in the preview.
    const auto build = [this] {
        return revealImageRequest({m_image->text(), m_alt->text(), m_transition->text()},
                                  m_pageFolder);
    };
    addEffectPreview(*this, *form.grid(), build);
    connect(ok, &QPushButton::clicked, this,
            [this, build] { finishEffect(*this, build(), m_request); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
