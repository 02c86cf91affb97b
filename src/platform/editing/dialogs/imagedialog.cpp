#include "platform/editing/dialogs/imagedialog.h"

#include "pictures/pictureinfo.h"
#include "platform/desktop/commondialog.h"
#include "platform/desktop/dialogform.h"
#include "platform/desktop/messages.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
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
    m_facts = form.row({}, new QLabel(this));
    m_facts->setObjectName(QStringLiteral("imageFileFacts"));
    m_optimize = form.button(QStringLiteral("imageOptimize"), QStringLiteral("Web用に最適化…"),
                             form.nextRow() - 1, 2);
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

    showFileFacts();

    connect(m_source, &QLineEdit::textChanged, this, &ImageDialog::showFileFacts);
    connect(ok, &QPushButton::clicked, this, [this] { closeWith(Accepted); });
    connect(m_optimize, &QPushButton::clicked, this, [this] { closeWith(OptimizeForWeb); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ImageDialog::closeWith(int result)
{
    const QString problem = imageProblem(fields());
    if (!problem.isEmpty()) {
        messages::inform(this, problem);
        return;
    }
    done(result);
}

void ImageDialog::setPage(const QString &pageFolder, int shownWidth, int shownHeight,
                          bool replaceable)
{
    m_replaceable = replaceable;
    m_pageFolder = pageFolder;
    m_shownWidth = shownWidth;
    m_shownHeight = shownHeight;
    showFileFacts();
}

// Only the header is read, so this keeps up with typing.
void ImageDialog::showFileFacts()
{
    const QString source = m_source->text().trimmed();
    const QString path = QDir::isAbsolutePath(source) || m_pageFolder.isEmpty()
                             ? source
                             : QDir(m_pageFolder).filePath(source);
    const bool local = !source.isEmpty() &&
                       (QDir::isAbsolutePath(source) || !m_pageFolder.isEmpty()) &&
                       QFileInfo(path).isFile();
    const pictures::Inspection inspection =
        local ? pictures::inspectPicture(path) : pictures::Inspection{};
    QString facts = inspection.info ? pictures::sizeText(*inspection.info) : inspection.problem;
    if (inspection.info && m_shownWidth > 0 && m_shownHeight > 0)
        facts += QStringLiteral("(表示 %1×%2)").arg(m_shownWidth).arg(m_shownHeight);
    m_facts->setText(facts);
    // The copies go into the page's folder: a page never saved has none yet.
    m_optimize->setEnabled(!m_pageFolder.isEmpty() && m_replaceable && inspection.info &&
                           !inspection.info->animated && !inspection.info->svg);
}

ImageFields ImageDialog::fields() const
{
    return {m_source->text(), m_alt->text(),    m_align->currentText(),
            m_border->text(), m_hspace->text(), m_vspace->text()};
}

} // namespace lumipage
