#include "pictures/webcopyjob.h"

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
            promise.addResult(makeWebCopy(requests.at(i)));
            promise.setProgressValue(i + 1);
        }
    });
}

} // namespace lumipage::pictures
