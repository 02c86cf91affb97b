#include "insert/webimageinsertion.h"

#include "dialogs/webimage/webimagedialog.h"
#include "pictures/webcopyjob.h"
#include "platform/desktop/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProgressDialog>

namespace lumipage
{

using namespace pictures;

namespace
{

// The copies made on a worker while a progress box with 「キャンセル」 shows; nothing when
// cancelled. Copies of a run that did not finish whole are removed.
std::optional<QList<WebCopyResult>> makeCopies(const QList<WebCopyRequest> &requests,
                                               QWidget &window)
{
    QProgressDialog progress(QStringLiteral("Web用の画像を作っています…"),
                             QStringLiteral("キャンセル"), 0, int(requests.size()), &window);
    progress.setObjectName(QStringLiteral("webImageProgress"));
    progress.setWindowTitle(messages::applicationTitle());
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(300);
    QFutureWatcher<WebCopyResult> watcher;
    QObject::connect(&watcher, &QFutureWatcher<WebCopyResult>::progressValueChanged, &progress,
                     &QProgressDialog::setValue);
    QObject::connect(&watcher, &QFutureWatcher<WebCopyResult>::finished, &progress,
                     &QProgressDialog::accept);
    QObject::connect(&progress, &QProgressDialog::canceled, &watcher,
                     &QFutureWatcher<WebCopyResult>::cancel);
    watcher.setFuture(makeWebCopies(requests));
    progress.exec();
    watcher.waitForFinished();
    QList<WebCopyResult> results;
    for (int i = 0; i < watcher.future().resultCount(); ++i)
        results << watcher.future().resultAt(i);
    QString problem;
    for (const WebCopyResult &r : std::as_const(results))
        if (!r.problem.isEmpty() && problem.isEmpty())
            problem = r.problem;
    if (problem.isEmpty() && results.size() == requests.size())
        return results;
    for (const WebCopyResult &r : std::as_const(results))
        if (!r.path.isEmpty())
            QFile::remove(r.path);
    if (!problem.isEmpty())
        messages::warn(&window, problem);
    return std::nullopt;
}

} // namespace

QString webCopyFolder(const QString &picture, const QString &pageFolder)
{
    const QString beside = QFileInfo(picture).absolutePath();
    const QString relative = QDir(pageFolder).relativeFilePath(beside);
    return relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative) ? pageFolder
                                                                                      : beside;
}

WebImageInsertion::WebImageInsertion(QWidget &window) : m_window(window) {}

std::optional<QString> WebImageInsertion::markupFor(const ImageFields &fields,
                                                    const QString &pageFolder, int shownWidth,
                                                    bool askAlways)
{
    const QString asIs = imageMarkup(fields, pageFolder);
    const QString path = QDir::isAbsolutePath(fields.source.trimmed())
                             ? fields.source.trimmed()
                             : QDir(pageFolder).filePath(fields.source.trimmed());
    if (pageFolder.isEmpty() || !QFileInfo(path).isFile())
        return asIs;
    const Inspection inspection = inspectPicture(path);
    if (!inspection.info)
        return asIs; // not one we can copy: the page shows what the browser can
    const PictureInfo &info = *inspection.info;
    const bool graphic = info.format != QLatin1String("JPEG") && hasFewColours(path);
    const WebCopySuggestion suggestion = suggestWebCopy(info, shownWidth, graphic);
    if (!suggestion.offer && !(askAlways && !info.animated && !info.svg))
        return asIs;
    WebImageDialog dialog(info, suggestion, &m_window);
    const int answer = dialog.exec();
    if (answer == WebImageDialog::InsertAsIs)
        return asIs;
    if (answer != QDialog::Accepted)
        return std::nullopt;
    const WebImageChoice choice = dialog.choice();
    const auto copies =
        makeCopies(webCopyRequests(choice, info.path, webCopyFolder(info.path, pageFolder),
                                   suggestion.shownWidth),
                   m_window);
    if (!copies)
        return std::nullopt;
    return webImageMarkup(webImageMarkupFields(choice, *copies, fields, suggestion.shownWidth),
                          pageFolder);
}

} // namespace lumipage
