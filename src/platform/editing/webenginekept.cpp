// The editing component as the page the document asks while it writes the author's
// markup: what changed, and the page's own markup of the changed stretches.
#include "platform/editing/webengineeditingcomponent.h"

#include "platform/editing/pageloader.h"
#include "platform/editing/pageprotocol.h"
#include "platform/markup/textcodec.h"

#include <QJsonArray>
#include <QPointer>

namespace lumipage
{

std::optional<PageChanges> WebEngineEditingComponent::pageChanges(bool withMarkup, QString *why)
{
    const PageCaller::Result asked = call(QStringLiteral("keptChanges"), QJsonArray{withMarkup});
    if (!asked.ok) {
        *why = asked.error;
        return std::nullopt;
    }
    return pageprotocol::keptChanges(asked.value);
}

std::optional<QStringList>
WebEngineEditingComponent::stretchMarkup(const std::vector<MarkupRegion> &regions, QString *why)
{
    const PageCaller::Result written = call(
        QStringLiteral("keptMarkup"), QJsonArray{QJsonValue(pageprotocol::keptRegions(regions))});
    if (!written.ok) {
        *why = written.error;
        return std::nullopt;
    }
    return written.value.toStringList();
}

void WebEngineEditingComponent::setFollowReports(bool on)
{
    if (m_followReports == on)
        return;
    m_followReports = on;
    m_reportedCaret = -1;
    m_reportedKept.clear();
    updateConfiguration(); // a page loaded later starts with them
    if (m_loader->ready() && !m_loader->pending())
        call(QStringLiteral("followReports"), {on});
}

std::optional<QByteArray> WebEngineEditingComponent::unchangedOriginal()
{
    return m_document.unchangedOriginal(*this);
}

QString WebEngineEditingComponent::followedHTML()
{
    // What the page sent with its last change, if no call went into it since (one might
    // have changed it); else the document asks.
    std::optional<PageChanges> reported;
    if (m_reportedKeptAt == m_caller.callsMade() && m_reportedKept.isValid())
        reported = pageprotocol::keptChanges(m_reportedKept);
    if (const std::optional<QByteArray> bytes = m_document.followedBytes(reported, *this))
        if (const std::optional<textcodec::Decoded> decoded =
                textcodec::decode(*bytes, m_document.encoding()))
            return decoded->text;
    return preservedHTML();
}

QString WebEngineEditingComponent::preservedHTML()
{
    const std::optional<PageSnapshot> page = readPage();
    return page ? m_document.keptText(*page, *this) : QString();
}

void WebEngineEditingComponent::preservedHTMLLater(std::function<void(std::optional<QString>)> done)
{
    // The page's markup comes back through a callback, and its text is formed on a worker;
    // nothing waits in an event loop of its own. Should the page have changed meanwhile,
    // what the document asks of it no longer matches and the kept text falls back to the
    // page's text as read (its check reads the bytes back against that reading).
    callLater(QStringLiteral("documentMarkup"), QJsonArray{m_document.wantsChanges()},
              [this, self = QPointer(this), done = std::move(done)](const QVariant &answer) {
                  if (!self || !answer.isValid()) {
                      done(std::nullopt);
                      return;
                  }
                  PageSnapshot page = snapshotOf(answer, true);
                  QFuture<QString>(page.forming).then(this, [this, page, done](const QString &) {
                      done(m_document.keptText(page, *this)); // the text is formed by now
                  });
              });
}

} // namespace lumipage
