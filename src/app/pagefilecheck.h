#pragma once

#include <QString>

class QWidget;

namespace lumipage
{

class EditingComponent;
struct PageSnapshot;

// What came of offering to bring files in.
enum class BringIn {
    Unchanged, // nothing to bring in, or the user declined: the page is as it was read
    Rewritten, // files copied and the page's names for them rewritten: read it again
    Failed,    // a copy failed and the user was told which and why: the save must stop
};

// Before the page, read as `page`, is saved as `savePath`: when it shows pictures
// (or other files) that lie outside that folder, named by absolute path, asks once
// whether to copy them into the folder. Yes copies them (an existing different file is
// never overwritten: the copy gets a numbered name) and writes their relative names into
// the page as one undo step; No leaves the page as it is.
BringIn offerToBringFilesIn(QWidget &window, EditingComponent &editor, const PageSnapshot &page,
                            const QString &savePath);

} // namespace lumipage
