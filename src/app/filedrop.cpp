#include "app/filedrop.h"

#include "platform/markup/pagereferences.h"

#include <QFileInfo>

namespace lumipage
{

namespace
{

FileDrop refuse(const QString &message)
{
    return {FileDrop::Action::Refuse, {}, message};
}

} // namespace

using pagereferences::hasSuffix;

bool isPageFile(const QString &path)
{
    return hasSuffix(path, {"htm", "html"});
}

bool isImageFile(const QString &path)
{
    return hasSuffix(path, {"png", "gif", "jpg", "jpeg", "bmp", "svg", "webp", "ico"});
}

FileDrop classifyFileDrop(const QList<QUrl> &urls, bool onEditedPage)
{
    QStringList paths;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            return refuse(QStringLiteral("「%1」はこのコンピューターのファイルではないため、"
                                         "開けません。")
                              .arg(url.toDisplayString()));
        paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return refuse(QStringLiteral("ドロップされたものにファイルがありません。"));
    if (paths.size() == 1 && isPageFile(paths.first()))
        return {FileDrop::Action::OpenPage, paths, {}};
    for (const QString &path : std::as_const(paths)) {
        if (isPageFile(path))
            return refuse(QStringLiteral("ページは一度に一つずつドロップしてください。"));
        if (!isImageFile(path))
            return refuse(QStringLiteral("「%1」はHTMLファイルでも画像でもないため、"
                                         "開けません。")
                              .arg(QFileInfo(path).fileName()));
    }
    if (!onEditedPage)
        return refuse(QStringLiteral("画像は編集モードのページの上にドロップしてください。"));
    return {FileDrop::Action::InsertImages, paths, {}};
}

} // namespace lumipage
