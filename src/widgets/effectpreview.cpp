#include "widgets/effectpreview.h"

#include "platform/browsing/browsesession.h"
#include "platform/effects/effectspage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace lumipage
{

EffectPreview::EffectPreview(CurrentRequest current, QWidget *parent)
    : QFrame(parent), m_current(std::move(current)), m_session(new BrowseSession(this))
{
    setObjectName(QStringLiteral("effectPreview"));
    setFrameShape(QFrame::StyledPanel);
    setMinimumHeight(140);
    m_session->setTransform(effectsTransform());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &EffectPreview::refresh);
}

EffectPreview::~EffectPreview()
{
    // The page goes before the session's profile it was made with.
    delete m_session->view();
}

void EffectPreview::shareProfile(BrowseProfile *shared)
{
    m_session->useProfile(shared);
}

void EffectPreview::setPageMaker(PageMaker maker, const QString &pagePath)
{
    m_maker = std::move(maker);
    m_pagePath = pagePath;
    if (!view()) {
        // The engine view joins the dialog before it shows: a native view added to a
        // modal window already on screen takes the window out of the modal stack.
        QWebEngineView *view =
            m_session->start(m_pagePath, QFileInfo(m_pagePath).fileName(), QString(), this);
        view->setFocusPolicy(Qt::NoFocus);
        layout()->addWidget(view);
    }
    refresh();
}

void EffectPreview::follow(QWidget *form)
{
    for (auto *edit : form->findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textChanged, this, &EffectPreview::schedule);
    for (auto *edit : form->findChildren<QPlainTextEdit *>())
        connect(edit, &QPlainTextEdit::textChanged, this, &EffectPreview::schedule);
    for (auto *combo : form->findChildren<QComboBox *>())
        connect(combo, &QComboBox::currentTextChanged, this, &EffectPreview::schedule);
    // Buttons that add or change entries (a dialog's list of buttons) change the effect.
    for (auto *button : form->findChildren<QAbstractButton *>())
        connect(button, &QAbstractButton::clicked, this, &EffectPreview::schedule);
}

void EffectPreview::schedule()
{
    if (m_maker)
        m_pause.start();
}

QWebEngineView *EffectPreview::view() const
{
    return m_session->view();
}

void EffectPreview::refresh()
{
    m_pause.stop();
    if (!m_maker)
        return;
    const std::optional<EffectRequest> request = m_current();
    if (!request)
        return; // the fields hold a problem: the last good preview stays
    const QString page = m_maker(*request);
    if (page == m_shown && view())
        return;
    m_shown = page;
    if (!m_session->replace(page)) {
        QWebEngineView *view =
            m_session->start(m_pagePath, QFileInfo(m_pagePath).fileName(), page, this);
        view->setFocusPolicy(Qt::NoFocus);
        layout()->addWidget(view);
    }
    emit pageShown();
}

} // namespace lumipage
