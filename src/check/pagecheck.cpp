#include "check/pagecheck.h"

#include "check/finders/htmlfindings.h"
#include "check/finders/parsedpage.h"
#include "check/finders/picturefindings.h"
#include "check/finders/spelling.h"
#include "platform/markup/pagereferences.h"

#include <QFileInfo>

namespace lumipage
{

using namespace check;

namespace
{

// The headers of the local pictures the page shows, by src as written; those that cannot
// be read are left out (a missing one is a file finding already).
QHash<QString, pictures::PictureInfo> pictureFiles(const ParsedPage &page, const QString &folder)
{
    QHash<QString, pictures::PictureInfo> files;
    for (const QString &source : pictureSources(page)) {
        bool absolute = false;
        const std::optional<QString> path = pagereferences::localPath(source, folder, &absolute);
        if (!path || path->isEmpty() || !QFileInfo(*path).isFile())
            continue;
        const pictures::Inspection inspection = pictures::inspectPicture(*path);
        if (inspection.info)
            files.insert(source, *inspection.info);
    }
    return files;
}

} // namespace

QList<PageFinding> findProblems(const PageCheckInput &input)
{
    const ParsedPage page(input.text);
    QList<PageFinding> findings;
    for (const pagereferences::Finding &f : pagereferences::checkPage(input.text, input.folder)) {
        const int ordinal = page.elementAt(f.start);
        findings << PageFinding{FindingKind::File, f.message(), page.lineAt(f.start), f.element,
                                ordinal};
    }
    findings << charsetFindings(page, input.encoding);
    findings << htmlFindings(page, tidyReports(page.utf8()));
    findings << markupAccessibilityFindings(page);
    findings << contrastFindings(page, input.colours);
    findings << pictureFindings(page, pictureFiles(page, input.folder));
    if (input.spelling)
        findings << spellingFindings(page, *input.spelling);
    sortByLine(findings);
    return findings;
}

} // namespace lumipage
