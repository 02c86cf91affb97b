#include "platform/browsing/browsepage.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace lumipage
{

namespace
{
// From this box on, the page's boxes offer to stop the ones that follow.
constexpr int kOfferStopFrom = 3;
} // namespace

BrowsePage::BrowsePage(QWebEngineProfile *profile, const QString &pageName, QObject *parent)
    : GuardedPage(profile, parent), m_pageName(pageName)
{
    // Pages from anywhere get what an ordinary web page gets from a cautious browser,
    // and nothing that reaches the user's files or devices.
    QWebEngineSettings *s = settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    s->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    s->setAttribute(QWebEngineSettings::AllowGeolocationOnInsecureOrigins, false);
    s->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    s->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);

    // Every permission is refused without asking the user.
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl &origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

void BrowsePage::javaScriptAlert(const QUrl &, const QString &message)
{
    showDialog(Kind::Alert, message, nullptr);
}

bool BrowsePage::javaScriptConfirm(const QUrl &, const QString &message)
{
    return showDialog(Kind::Confirm, message, nullptr);
}

bool BrowsePage::javaScriptPrompt(const QUrl &, const QString &message, const QString &value,
                                  QString *result)
{
    QString text = value;
    if (!showDialog(Kind::Prompt, message, &text))
        return false;
    *result = text;
    return true;
}

bool BrowsePage::showDialog(Kind kind, const QString &message, QString *value)
{
    if (m_stopped)
        return false;
    ++m_shown;
    QDialog dialog(QWebEngineView::forPage(this));
    dialog.setObjectName(QStringLiteral("pageDialog"));
    dialog.setWindowTitle(tr("%1 からのメッセージ").arg(m_pageName));
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(message, &dialog);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    QLineEdit *input = nullptr;
    if (kind == Kind::Prompt) {
        input = new QLineEdit(*value, &dialog);
        input->setObjectName(QStringLiteral("promptText"));
        layout->addWidget(input);
    }
    QCheckBox *stop = nullptr;
    if (m_shown >= kOfferStopFrom) {
        stop = new QCheckBox(tr("このページのダイアログを今後表示しない"), &dialog);
        stop->setObjectName(QStringLiteral("stopDialogs"));
        layout->addWidget(stop);
    }
    auto *buttons =
        new QDialogButtonBox(kind == Kind::Alert ? QDialogButtonBox::Ok
                                                 : QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                             &dialog);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (stop && stop->isChecked())
        m_stopped = true;
    if (input && accepted)
        *value = input->text();
    return accepted;
}

} // namespace lumipage
