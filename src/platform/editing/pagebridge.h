#pragma once

#include <QObject>
#include <QVariantMap>

namespace lumipage
{

// The object the page runtime talks to over the web channel. It only forwards;
// the component decides when the events reach the program.
class PageBridge : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // What the runtime applies on start: {options: {number: bool}, queried: [numbers]}.
    void setConfiguration(const QVariantMap &configuration) { m_configuration = configuration; }

public slots:
    QVariantMap configuration() const { return m_configuration; }
    void runtimeReady(const QString &url) { emit ready(url); }
    // `revision` counts the document's changes since the page was loaded. With follow
    // reports on, `caret` is the ordinal of the caret's element when only the caret moved
    // (else -1), and `kept` what changed since the load with its markup (keptChanges'
    // answer) when the page changed (else null).
    void displayChanged(const QVariantMap &statuses, int revision, int caret, const QVariant &kept)
    {
        emit statusesChanged(statuses, revision, caret, kept);
    }
    void gotFocus() { emit focused(); }

signals:
    void ready(const QString &url);
    void statusesChanged(const QVariantMap &statuses, int revision, int caret,
                         const QVariant &kept);
    void focused();

private:
    QVariantMap m_configuration;
};

} // namespace lumipage
