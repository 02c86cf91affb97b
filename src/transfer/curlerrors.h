#pragma once

#include "transfer/transfererror.h"

namespace lumipage::curlerrors
{

// What a libcurl result means to the author: `code` is the CURLcode, `response` the last
// FTP or HTTP reply code, `libraryText` libcurl's own words.
TransferError map(int code, int response, bool http, const QString &libraryText);

} // namespace lumipage::curlerrors
