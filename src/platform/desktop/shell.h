#pragma once

#include <QString>

namespace lumipage
{

// Opens a file with the desktop's handler for it ("open"), without waiting and
// without reporting failures: a missing file or viewer is silent.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual void open(const QString &path);
};

} // namespace lumipage
