#include "insert/pagepictures.h"

#include "insert/pagepicturesdialog.h"
#include "platform/editing/editingcomponent.h"
#include "platform/desktop/messages.h"
#include "platform/markup/pagereferences.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumipage
{

namespace
{

// The width attribute of the start tag at `start` in pixels; 0 when none or relative.
int widthAttribute(const QString &html, qsizetype start)
{
    static const QRegularExpression width(
        QStringLiteral("^<[^>]*?\\swidth\\s*=\\s*[\"']?\\s*(\\d+)(?:px)?\\s*[\"'\\s>]"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m =
        width.match(html.mid(start, html.indexOf('>', start) - start + 1));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

QList<PagePicture> pagePictures(const QString &html, const QString &pageFolder)
{
    const QList<pagereferences::LocalReference> references =
        pagereferences::localReferences(html, pageFolder);
    QList<PagePicture> out;
    QStringList elsewhere;
    for (const auto &r : references)
        if (r.element != QLatin1String("IMG") || r.attribute != QLatin1String("src"))
            elsewhere << r.value;
    for (const auto &r : references) {
        if (r.element != QLatin1String("IMG") || r.attribute != QLatin1String("src") ||
            r.path.isEmpty() || elsewhere.contains(r.value))
            continue;
        const int shown = widthAttribute(html, r.start);
        auto known = std::find_if(out.begin(), out.end(),
                                  [&r](const PagePicture &p) { return p.source == r.value; });
        if (known != out.end()) {
            known->shownWidth = std::max(known->shownWidth, shown);
            continue;
        }
        const pictures::Inspection inspection = pictures::inspectPicture(r.path);
        if (inspection.info)
            out << PagePicture{r.value, *inspection.info, shown, {}};
    }
    // A lossless picture keeps a lossless copy: a drawing stays crisp, and nothing is
    // decoded here to tell a photo saved as PNG from one.
    for (PagePicture &p : out)
        p.suggestion = pictures::suggestWebCopy(
            p.info, p.shownWidth,
            QStringList{QStringLiteral("PNG"), QStringLiteral("GIF"), QStringLiteral("BMP")}
                    .contains(p.info.format) ||
                p.info.alpha);
    return out;
}

void optimizePagePictures(EditingComponent &editor, QWidget &window)
{
    const QString page = editor.documentPath();
    if (page.isEmpty()) {
        messages::inform(&window, QStringLiteral("ページを保存してから画像を最適化してください。"
                                                 "Web用の画像はページのフォルダに作ります。"));
        return;
    }
    const QString folder = QFileInfo(page).absolutePath();
    const QList<PagePicture> found = pagePictures(editor.DocumentHTML(), folder);
    if (found.isEmpty()) {
        messages::inform(&window,
                         QStringLiteral("このページには最適化できるローカルの画像がありません。"));
        return;
    }
    PagePicturesDialog dialog(found, folder, &window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QHash<QString, QString> renamed = dialog.keepTicked();
    if (!renamed.isEmpty() && !editor.replaceReferences(renamed))
        messages::warn(&window, editor.lastError());
}

} // namespace lumipage
