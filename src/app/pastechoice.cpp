#include "app/pastechoice.h"

#include "app/filedrop.h"

#include <QDir>
#include <QFileInfo>

namespace lumipage
{

PasteChoice choosePaste(const ClipboardContent &content)
{
    if (!content.urls.isEmpty()) {
        QStringList paths;
        for (const QUrl &url : content.urls) {
            // Anything but local picture files (a link, a text file) pastes as before.
            if (!url.isLocalFile() || !isImageFile(url.toLocalFile()))
                return {};
            paths << url.toLocalFile();
        }
        return {PasteChoice::Action::InsertFiles, paths};
    }
    if (content.html || content.text || !content.image)
        return {};
    return {PasteChoice::Action::InsertImage, {}};
}

QString freePasteName(const QString &folder)
{
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("paste-%1.png").arg(n);
        const QFileInfo file(dir.filePath(name));
        if (!file.exists() && !file.isSymLink()) // a dangling link takes the name too
            return name;
    }
}

} // namespace lumipage
