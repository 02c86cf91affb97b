#include "support/fakepageview.h"

#include <QFuture>
#include <QTimer>

namespace lumipage::test
{

bool FakePageView::record(const QString &call)
{
    calls << call;
    if (refuse && error.isEmpty())
        error = QStringLiteral("refused");
    return !refuse;
}

void FakePageView::moveCaret(int ordinal)
{
    m_caret = ordinal;
    m_reported = m_followReports ? ordinal : -1;
    emit DisplayChanged();
}

void FakePageView::change(const QString &text)
{
    page = text;
    original.reset();
    m_reported = -1;
    emit contentChanged();
    emit DisplayChanged();
}

void FakePageView::load(const QString &text, const QString &file)
{
    page = text;
    path = file;
    original = text.toUtf8();
    m_reported = -1;
    emit pageBegun();
    emit DocumentComplete();
}

bool FakePageView::ExecCommand(int command, CommandOption, const QVariant &value)
{
    return record(QStringLiteral("exec %1%2")
                      .arg(command)
                      .arg(value.isValid() ? QLatin1Char(' ') + value.toString() : QString()));
}

CommandStatus FakePageView::QueryStatus(int command) const
{
    return m_statuses.value(command, CommandStatus::NotAvailable);
}

bool FakePageView::LoadDocument(const QString &file)
{
    return record("load " + file);
}

bool FakePageView::SaveDocument(const QString &file)
{
    return record("save " + file);
}

std::optional<PageSnapshot> FakePageView::readPage()
{
    calls << QStringLiteral("read");
    PageSnapshot reading;
    reading.markup = page;
    reading.forming = QtFuture::makeReadyFuture(page);
    return reading;
}

bool FakePageView::savePage(const QString &file, const PageSnapshot &)
{
    return record("save " + file);
}

QString FakePageView::DocumentHTML()
{
    calls << QStringLiteral("read");
    return page;
}

bool FakePageView::setDocumentHTML(const QString &html)
{
    if (!record(QStringLiteral("setPage")))
        return false;
    load(html, path);
    return true;
}

QString FakePageView::preservedHTML()
{
    calls << QStringLiteral("read");
    return page;
}

QString FakePageView::followedHTML()
{
    calls << QStringLiteral("follow");
    return page;
}

void FakePageView::openRecovered(const QString &html, const QString &file, const QByteArray &)
{
    load(html, file);
    original.reset();
}

int FakePageView::caretElement()
{
    calls << QStringLiteral("caretElement");
    return m_caret;
}

bool FakePageView::replaceElement(int ordinal, const QByteArray &name, const QString &markup,
                                  const QString &pageText)
{
    if (!record(
            QStringLiteral("replace %1 %2 %3").arg(ordinal).arg(QString::fromLatin1(name), markup)))
        return false;
    page = pageText;
    return true;
}

void FakePageView::selectElement(int ordinal)
{
    m_caret = ordinal;
    record(QStringLiteral("select %1").arg(ordinal));
}

std::optional<EditingComponent::ScriptPresence> FakePageView::scriptPresence(const QString &mention)
{
    calls << (mention.isEmpty() ? QStringLiteral("scripts") : "scripts " + mention);
    return scripts;
}

std::optional<std::vector<EditingComponent::TextLook>> FakePageView::textLooks()
{
    calls << QStringLiteral("textLooks");
    return std::vector<TextLook>{};
}

void FakePageView::callLater(const QString &name, const QJsonArray &,
                             std::function<void(const QVariant &)> answered)
{
    calls << "later " + name;
    const QVariant answer = answers.value(name);
    if (answerLater)
        QTimer::singleShot(0, this, [answered = std::move(answered), answer] { answered(answer); });
    else
        answered(answer);
}

bool FakePageView::setBodyAttributes(const QList<QPair<QString, QString>> &attributes)
{
    QStringList pairs;
    for (const auto &[name, value] : attributes)
        pairs << name + QLatin1Char('=') + value;
    return record("body " + pairs.join(QLatin1Char(' ')));
}

void FakePageView::setBrowseMode(bool browse)
{
    calls << (browse ? QStringLiteral("browse") : QStringLiteral("edit"));
    m_browsing = browse;
}

} // namespace lumipage::test
