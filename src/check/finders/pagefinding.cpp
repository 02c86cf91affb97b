#include "check/finders/pagefinding.h"

#include <algorithm>

namespace lumipage::check
{

QString kindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::File:
        return QStringLiteral("ファイル");
    case FindingKind::Html:
        return QStringLiteral("HTML");
    case FindingKind::Accessibility:
        return QStringLiteral("アクセシビリティ");
    case FindingKind::Spelling:
        return QStringLiteral("スペル");
    case FindingKind::Image:
        return QStringLiteral("画像");
    }
    return {};
}

void sortByLine(QList<PageFinding> &findings)
{
    std::stable_sort(findings.begin(), findings.end(),
                     [](const PageFinding &a, const PageFinding &b) { return a.line < b.line; });
}

} // namespace lumipage::check
