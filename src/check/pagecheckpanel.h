#pragma once

#include "check/finders/pagefinding.h"

#include <QDockWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace lumipage
{

// The page check's dockable panel (`pageCheckPanel`): the findings in a list
// (`pageCheckList`: 種類 / 内容 / 行 / 要素), a line saying how the check stands beside it,
// and 「再点検」. It only shows and reports; PageCheckController fills it.
class PageCheckPanel : public QDockWidget
{
    Q_OBJECT
public:
    explicit PageCheckPanel(QWidget *parent = nullptr);

    // The page is being checked: the list stays until the findings come.
    void showChecking();
    // Shows the findings; none leaves the list empty and says 「問題は見つかりませんでした」.
    void showFindings(const QList<check::PageFinding> &findings);
    // The check could not read the page.
    void showFailure(const QString &why);
    const QList<check::PageFinding> &findings() const { return m_findings; }

signals:
    // The user asked for the page to be checked again.
    void recheckRequested();
    // The user activated a finding (double click or Enter).
    void findingActivated(const check::PageFinding &finding);

private:
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_again = nullptr;
    QList<check::PageFinding> m_findings;
};

} // namespace lumipage
