#pragma once

#include "platform/browsing/guardedpage.h"

namespace lumipage
{

// The page browse mode shows: a guarded page whose scripts run confined (no file:
// access, no downloads, permissions, clipboard reads or full screen), and whose
// alert, confirm and prompt boxes name the page's file. From the third box on, the
// user may stop the page's boxes; stopped boxes answer as cancelled.
class BrowsePage : public GuardedPage
{
    Q_OBJECT
public:
    // `pageName` is what the boxes' title calls the page (its file name).
    BrowsePage(QWebEngineProfile *profile, const QString &pageName, QObject *parent);

    // How many boxes the page has shown, and whether the user stopped them.
    int dialogsShown() const { return m_shown; }
    bool dialogsStopped() const { return m_stopped; }
    // Stops the page's boxes before any shows (a copy no one looks at, being printed).
    void stopDialogs() { m_stopped = true; }

protected:
    void javaScriptAlert(const QUrl &origin, const QString &message) override;
    bool javaScriptConfirm(const QUrl &origin, const QString &message) override;
    bool javaScriptPrompt(const QUrl &origin, const QString &message, const QString &value,
                          QString *result) override;

private:
    enum class Kind { Alert, Confirm, Prompt };
    // Shows one box; false when cancelled or when the page's boxes are stopped.
    bool showDialog(Kind kind, const QString &message, QString *value);

    QString m_pageName;
    int m_shown = 0;
    bool m_stopped = false;
};

} // namespace lumipage
