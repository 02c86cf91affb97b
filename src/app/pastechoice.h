#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace lumipage
{

// What the clipboard holds, as far as a paste on the page cares.
struct ClipboardContent {
    bool html = false;
    bool text = false;
    bool image = false; // image data (a screenshot, a picture copied from a program)
    QList<QUrl> urls;
};

// What a paste on the page does with it.
struct PasteChoice {
    enum class Action {
        Engine,      // the engine pastes as it always has (markup, text)
        InsertFiles, // `paths`, picture files, go in through the picture road
        InsertImage, // the image data is written beside the page and goes in the same way
    };
    Action action = Action::Engine;
    QStringList paths;
};

// Decides a paste: copied picture files go in as dropped ones do (a file manager adds
// their paths as text, so files come first); markup or text paste as before; image data
// alone is written out as a picture file, so the page never carries it as a data: URL.
PasteChoice choosePaste(const ClipboardContent &content);

// A name `paste-N.png` free in `folder` (the first N from 1 not taken).
QString freePasteName(const QString &folder);

} // namespace lumipage
