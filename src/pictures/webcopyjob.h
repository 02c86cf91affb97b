#pragma once

#include "pictures/webcopy.h"

#include <QFuture>
#include <QList>

namespace lumipage::pictures
{

// Makes the copies one after the other on a worker thread: one result for each request
// in order, the progress counted in copies. Cancelling the future stops it between two
// copies; the copy being made then is removed, those already reported stay for the caller
// to keep or remove.
QFuture<WebCopyResult> makeWebCopies(const QList<WebCopyRequest> &requests);

} // namespace lumipage::pictures
