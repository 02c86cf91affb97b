#include "platform/editing/pagecaller.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>

namespace lumipage
{

namespace
{
constexpr qint64 kRetryMs = 1000;
}

bool PageCaller::spinUntil(const std::function<bool()> &done, QDeadlineTimer deadline)
{
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QEventLoop *outer = m_loop;
        m_loop = &loop;
        QTimer::singleShot(std::max<qint64>(1, deadline.remainingTime()), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_loop = outer;
    }
    // A wait begun while another waited (a call made from a signal during a call) took
    // the wake-ups meant for that one: the one below looks again at once, instead of
    // sleeping on until its timer although its answer has come.
    if (m_loop)
        m_loop->quit();
    return done();
}

bool PageCaller::wait(const std::function<bool()> &done, QDeadlineTimer deadline)
{
    ++m_depth;
    const bool held = spinUntil(done, deadline);
    if (--m_depth == 0)
        emit idle();
    return held;
}

void PageCaller::wake()
{
    if (m_loop)
        m_loop->quit();
}

void PageCaller::abandonWaiting()
{
    ++m_abandoned;
    wake();
}

PageCaller::Result PageCaller::call(QWebEnginePage *page, const QString &name,
                                    const QJsonArray &args, const std::function<bool()> &ready,
                                    int timeoutMs)
{
    struct Pending {
        bool done = false;
        QVariant value;
    };
    Result result;
    const QDeadlineTimer deadline(timeoutMs);
    const quint64 abandoned = m_abandoned;
    const auto pageDied = [this, abandoned] { return m_abandoned != abandoned; };
    ++m_depth;
    if (!spinUntil([&] { return ready() || pageDied(); }, deadline)) {
        result.error = tr("ページの読み込みが終わりません。");
    } else if (pageDied()) {
        result.error = tr("表示エンジンが停止しました。");
    } else {
        // The answer may arrive after a timeout; it then lands in the shared state only.
        // Now and then the engine drops the answer to a call made right after a load;
        // the call is then sent again under the same number, and the runtime answers a
        // number it has seen from its record instead of running the operation twice.
        auto pending = std::make_shared<Pending>();
        const QString script =
            QStringLiteral("(function (a) { return window.__lumipage ? "
                           "window.__lumipage.callOnce(a[0], a[1], a[2]) : null; })(%1)")
                .arg(QString::fromUtf8(QJsonDocument(QJsonArray{double(++m_sequence), name, args})
                                           .toJson(QJsonDocument::Compact)));
        const auto send = [&] {
            page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                [this, pending](const QVariant &value) {
                                    if (pending->done)
                                        return;
                                    pending->value = value;
                                    pending->done = true;
                                    wake();
                                });
        };
        send();
        while (!pending->done && !pageDied() && !deadline.hasExpired()) {
            const QDeadlineTimer retry(std::min<qint64>(kRetryMs, deadline.remainingTime()));
            if (!spinUntil([&] { return pending->done || pageDied(); }, retry) &&
                !deadline.hasExpired()) {
                if (qEnvironmentVariableIsSet("LUMIPAGE_TRACE_CALLS"))
                    qInfo("page call %s sent again", qPrintable(name));
                send();
            }
        }
        if (!pending->done) {
            pending->done = true; // an answer that comes after all is dropped
            result.error =
                pageDied() ? tr("表示エンジンが停止しました。") : tr("ページが応答しません。");
        } else {
            const QVariantMap answer = pending->value.toMap();
            result.ok = answer.value(QStringLiteral("ok")).toBool();
            result.value = answer.value(QStringLiteral("value"));
            result.error = answer.value(QStringLiteral("error")).toString();
            if (!result.ok && result.error.isEmpty())
                result.error = tr("ページの編集機能が準備できていません。");
        }
    }
    if (--m_depth == 0)
        emit idle();
    return result;
}

} // namespace lumipage
