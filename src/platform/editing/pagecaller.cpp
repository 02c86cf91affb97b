#include "platform/editing/pagecaller.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>

namespace lumipage {

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
    return done();
}

void PageCaller::wake()
{
    if (m_loop)
        m_loop->quit();
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
    ++m_depth;
    if (!spinUntil(ready, deadline)) {
        result.error = tr("ページの読み込みが終わりません。");
    } else {
        // The answer may arrive after a timeout; it then lands in the shared state only.
        auto pending = std::make_shared<Pending>();
        const QString script =
            QStringLiteral("(function (a) { return window.__lumipage ? "
                           "window.__lumipage.call(a[0], a[1]) : null; })(%1)")
                .arg(QString::fromUtf8(
                    QJsonDocument(QJsonArray{name, args}).toJson(QJsonDocument::Compact)));
        page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                            [this, pending](const QVariant &value) {
                                pending->value = value;
                                pending->done = true;
                                wake();
                            });
        if (!spinUntil([&] { return pending->done; }, deadline)) {
            result.error = tr("ページが応答しません。");
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
