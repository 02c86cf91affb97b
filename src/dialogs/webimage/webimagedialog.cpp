#include "dialogs/webimage/webimagedialog.h"

#include "platform/desktop/dialogform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

namespace lumipage
{

using pictures::WebFormat;

namespace
{

// The format list: what it reads, the IMG's format, and whether WebP is offered first.
struct FormatItem {
    const char *caption;
    WebFormat format;
    bool webpFirst;
};
const FormatItem kFormats[] = {
    {"JPEG(写真向き)", WebFormat::Jpeg, false},
    {"PNG(図・透明部分のある画像向き)", WebFormat::Png, false},
    {"WebP", WebFormat::Webp, false},
    {"WebP + JPEG(古いブラウザ用)", WebFormat::Jpeg, true},
    {"WebP + PNG(古いブラウザ用)", WebFormat::Png, true},
};

} // namespace

WebImageDialog::WebImageDialog(const pictures::PictureInfo &info,
                               const pictures::WebCopySuggestion &suggestion, QWidget *parent)
    : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("webImageDialog"), QStringLiteral("Web用に最適化"));
    QString facts =
        QStringLiteral("「%1」: %2").arg(QFileInfo(info.path).fileName(), pictures::sizeText(info));
    if (info.gps)
        facts += QStringLiteral("、位置情報あり");
    form.label(QStringLiteral("webImageInfo"), facts);
    form.label(QStringLiteral("webImageShown"), QStringLiteral("ページでの表示: %1×%2 ピクセル")
                                                    .arg(suggestion.shownWidth)
                                                    .arg(suggestion.shownHeight));

    m_width = form.row(QStringLiteral("幅:"), new QSpinBox(this), QStringLiteral("ピクセル"));
    m_width->setObjectName(QStringLiteral("webImageWidth"));
    m_width->setRange(1, std::max(1, info.uprightWidth()));
    m_width->setValue(suggestion.width);
    m_format = form.row(QStringLiteral("形式:"), new QComboBox(this));
    m_format->setObjectName(QStringLiteral("webImageFormat"));
    for (const FormatItem &item : kFormats)
        m_format->addItem(QString::fromUtf8(item.caption));
    m_format->setCurrentIndex(suggestion.format == WebFormat::Png ? 1 : 0);
    m_quality = form.row(QStringLiteral("画質:"), new QSpinBox(this), QStringLiteral("(1〜100)"));
    m_quality->setObjectName(QStringLiteral("webImageQuality"));
    m_quality->setRange(1, 100);
    m_quality->setValue(suggestion.quality > 0 ? suggestion.quality
                                               : pictures::defaultQuality(WebFormat::Jpeg));
    m_strip = form.wideRow({}, new QCheckBox(QStringLiteral("位置情報などを削除"), this));
    m_strip->setObjectName(QStringLiteral("webImageStripMetadata"));
    m_strip->setChecked(true);
    m_highDensity = form.wideRow({}, new QCheckBox(QStringLiteral("高解像度の画面用"), this));
    m_highDensity->setObjectName(QStringLiteral("webImageHighDensity"));
    m_highDensity->setToolTip(
        QStringLiteral("表示の幅の画像と、その2倍の幅の画像を作り、画面に合わせて選ばせます。"));
    auto [ok, asIs] = form.okCancel(QStringLiteral("webImageOk"), QStringLiteral("webImageAsIs"),
                                    QStringLiteral("OK"), QStringLiteral("そのまま挿入"));
    formatChosen();

    connect(m_format, &QComboBox::currentIndexChanged, this, &WebImageDialog::formatChosen);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(asIs, &QPushButton::clicked, this, [this] { done(InsertAsIs); });
}

void WebImageDialog::formatChosen()
{
    const FormatItem &item = kFormats[std::max(0, m_format->currentIndex())];
    // PNG is lossless: without WebP beside it, there is no quality to choose.
    m_quality->setEnabled(item.format != WebFormat::Png || item.webpFirst);
}

WebImageChoice WebImageDialog::choice() const
{
    const FormatItem &item = kFormats[std::max(0, m_format->currentIndex())];
    return {m_width->value(),   item.format,          item.webpFirst,
            m_quality->value(), m_strip->isChecked(), m_highDensity->isChecked()};
}

} // namespace lumipage
