#include "check/pagecheck.h"

#include "check/finders/htmlfindings.h"
#include "check/finders/parsedpage.h"
#include "check/finders/spelling.h"
#include "platform/markup/pagereferences.h"

namespace lumipage
{

using namespace check;

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
    if (input.spelling)
        findings << spellingFindings(page, *input.spelling);
    sortByLine(findings);
    return findings;
}

} // namespace lumipage
