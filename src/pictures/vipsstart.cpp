#include "pictures/vipsstart.h"

#include <vips/vips8>

#include <mutex>

namespace lumipage::pictures
{

void startVips()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (VIPS_INIT("lumipage") != 0)
            qFatal("libvips could not start: %s", vips_error_buffer());
        vips_cache_set_max(0);
        // Only the loaders made for files from anywhere: no ImageMagick or other catch-alls.
        vips_block_untrusted_set(TRUE);
    });
}

QString takeVipsError()
{
    const QString text = QString::fromUtf8(vips_error_buffer()).trimmed();
    vips_error_clear();
    return text;
}

} // namespace lumipage::pictures
