#include "pictures/webcopyjob.h"

#include <QFile>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

namespace lumipage::pictures
{

QFuture<WebCopyResult> makeWebCopies(const QList<WebCopyRequest> &requests)
{
    return QtConcurrent::run([requests](QPromise<WebCopyResult> &promise) {
        promise.setProgressRange(0, int(requests.size()));
        for (int i = 0; i < requests.size(); ++i) {
            if (promise.isCanceled())
                return;
            const WebCopyResult copy = makeWebCopy(requests.at(i));
            // Once cancelled, a result no longer reaches the caller: its copy goes here.
            if (promise.isCanceled()) {
                if (!copy.path.isEmpty())
                    QFile::remove(copy.path);
                return;
            }
            promise.addResult(copy);
            promise.setProgressValue(i + 1);
        }
    });
}

} // namespace lumipage::pictures
