#include "dialogs/effects/colourbuttonsdialog.h"

#include "dialogs/effects/effectdialog.h"
#include "platform/desktop/dialogform.h"
#include "platform/desktop/messages.h"
#include "platform/desktop/paletteview.h"
#include "widgets/colourfield.h"
#include "widgets/icons.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace lumipage
{

namespace
{

const QString kJump = QStringLiteral("ｼﾞｬﾝﾌﾟ");
const QString kLink = QStringLiteral("ﾘﾝｸ");
const QString kAddressStart = QStringLiteral("http://");

} // namespace

ColourButtonsDialog::ColourButtonsDialog(CommonDialog &commonDialog, const QString &programFolder,
                                         const QString &pageFolder, QWidget *parent)
    : QDialog(parent), m_pageFolder(pageFolder)
{
    DialogForm form(this, QStringLiteral("Form17"),
                    QStringLiteral("文字色設定(10項目以上の設定は出来ません。)"));
    m_firstColour =
        form.row(QStringLiteral("最初の文字色"), form.lineEdit(QStringLiteral("Text1")));
    m_overColour =
        form.row(QStringLiteral("ﾏｳｽが乗った時の色"), form.lineEdit(QStringLiteral("Text2")));
    // Colour names are dragged in from the palette page, and may be dragged out again.
    m_firstColour->setDragEnabled(true);
    m_overColour->setDragEnabled(true);
    m_label = form.row(QStringLiteral("項目名"), form.lineEdit(QStringLiteral("Text3")));
    m_typeface =
        form.row(QStringLiteral("書体"),
                 form.comboBox(QStringLiteral("Combo1"),
                               {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("ＭＳ Ｐゴシック"),
                                QStringLiteral("ＭＳ 明朝"), QStringLiteral("ＭＳ ゴシック"),
                                QStringLiteral("Arial Black"), QStringLiteral("Comic Sans MS"),
                                QStringLiteral("Georgia"), QStringLiteral("IMPACT"),
                                QStringLiteral("Times New Roman"), QStringLiteral("Verdana")},
                               QStringLiteral("ＭＳ Ｐ明朝")));
    m_size =
        form.row(QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ"),
                 form.comboBox(QStringLiteral("Combo2"),
                               {QStringLiteral("9"), QStringLiteral("12"), QStringLiteral("14"),
                                QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("38"),
                                QStringLiteral("46"), QStringLiteral("52")},
                               QStringLiteral("9")));
    m_kind = form.row(QStringLiteral("種別"),
                      form.comboBox(QStringLiteral("Combo3"), {kJump, kLink}, QString()));
    m_kind->setEnabled(false);
    m_target = form.row(QStringLiteral("ﾘﾝｸ"), form.lineEdit(QStringLiteral("Text4")));
    m_browse = form.browseButton(
        QStringLiteral("Command5"), m_target, commonDialog,
        QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html"), 6144);
    m_browse->setEnabled(false);

    m_add = form.button(QStringLiteral("Command3"), QString(), form.nextRow(), 1);
    m_add->setIcon(Icons::glyph(QStringLiteral("↓"), 2));
    m_add->setToolTip(QStringLiteral("追加"));
    m_add->setAutoFillBackground(true);
    m_add->setEnabled(false);
    // The indicator colour's holder of the design; it has no action.
    QPushButton *marker =
        form.button(QStringLiteral("Command6"), QStringLiteral("Command6"), form.nextRow(), 2);
    marker->hide();
    form.skipRow();
    m_list = form.row(QString(), new QListWidget(this));
    m_list->setObjectName(QStringLiteral("List1"));
    m_count = form.row(QString(), new QLabel(this));
    m_count->setObjectName(QStringLiteral("Label4"));
    m_removeAll =
        form.button(QStringLiteral("Command4"), QStringLiteral("全て削除"), form.nextRow() - 1, 2);
    m_removeAll->setEnabled(false);

    auto *paletteCaption = new QLabel(QStringLiteral("文字色選択ﾊﾟﾚｯﾄ"), this);
    paletteCaption->setObjectName(QStringLiteral("Label8"));
    form.grid()->addWidget(paletteCaption, 0, 3);
    form.grid()->addWidget(ColourField::paletteView(programFolder, this), 1, 3, form.nextRow() - 1,
                           1);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    m_ok = ok;
    m_ok->setEnabled(false);
    resize(520, 420);

    connect(m_label, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_browse->setEnabled(!text.isEmpty());
        m_kind->setEnabled(!text.isEmpty());
        if (!text.isEmpty())
            m_ok->setEnabled(true);
    });
    connect(m_target, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_add->setEnabled(!text.isEmpty());
        QPalette colours = palette();
        if (!text.isEmpty()) {
            colours.setColor(QPalette::Button, ColourField::kIndicator);
            m_ok->setEnabled(true);
        }
        m_add->setPalette(colours);
    });
    connect(m_kind, &QComboBox::activated, this,
            [this](int index) { chooseKind(m_kind->itemText(index)); });
    connect(m_add, &QPushButton::clicked, this, &ColourButtonsDialog::addButton);
    connect(m_removeAll, &QPushButton::clicked, this, &ColourButtonsDialog::removeButtons);
    // What OK builds from the fields now, also shown in the preview.
    const auto build = [this] { return colourButtonsRequest(m_buttons); };
    addEffectPreview(*this, *form.grid(), build);
    connect(m_ok, &QPushButton::clicked, this,
            [this, build] { finishEffect(*this, build(), m_request); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ColourButtonsDialog::chooseKind(const QString &kind)
{
    if (kind == kLink)
        m_target->setText(kAddressStart);
    else if (kind == kJump && m_target->text() == kAddressStart)
        m_target->clear();
}

void ColourButtonsDialog::addButton()
{
    m_ok->setEnabled(true);
    m_removeAll->setEnabled(true);
    const QString label = m_label->text();
    const BuildResult added =
        addColourButton(m_buttons,
                        {label, m_typeface->currentText(), m_size->currentText(),
                         m_firstColour->text(), m_overColour->text(), m_target->text()},
                        m_pageFolder);
    if (added.isProblem()) {
        messages::inform(this, added.text);
        return;
    }
    m_count->setText(QString::number(m_buttons.buttons.size()));
    m_list->addItem(label);
    m_label->clear();
    m_label->setFocus();
    m_target->clear();
}

void ColourButtonsDialog::removeButtons()
{
    removeColourButtons(m_buttons);
    m_list->clear();
}

} // namespace lumipage
