#include "transfer/remotesite.h"

#include "transfer/curlsite.h"
#include "transfer/foldersite.h"

namespace lumipage
{

std::unique_ptr<RemoteSite> RemoteSite::open(const PublishTarget &target, const Options &options)
{
    if (target.protocol == PublishTarget::Protocol::Folder)
        return std::make_unique<FolderSite>(target.remoteFolder, options.cancel);
    return std::make_unique<CurlSite>(target, options);
}

} // namespace lumipage
