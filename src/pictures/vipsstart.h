#pragma once

#include <QString>

namespace lumipage::pictures
{

// Starts libvips once for the process (from any thread). Its operation cache is off: a
// picture changed on disk under the same name must be read again, not remembered.
void startVips();

// The message of the last vips failure, and the failure cleared.
QString takeVipsError();

} // namespace lumipage::pictures
