#include "styles/stylecontroller.h"

#include "platform/editing/editingcommands.h"
#include "platform/editing/editingcomponent.h"
#include "platform/markup/cssedits.h"
#include "platform/markup/textcodec.h"
#include "styles/stylepanel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QMainWindow>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace lumipage
{

namespace
{

const QString kShownKey = u"styles/panelShown"_s;

// The common properties whose computed values the panel shows.
const QStringList kComputed = {
    u"font-family"_s, u"font-size"_s, u"font-weight"_s,      u"font-style"_s,
    u"line-height"_s, u"color"_s,     u"background-color"_s, u"background-image"_s,
    u"display"_s,     u"width"_s,     u"height"_s,           u"margin"_s,
    u"padding"_s,     u"border"_s,    u"position"_s,         u"top"_s,
    u"left"_s,        u"z-index"_s,   u"text-align"_s};

} // namespace

StyleController::StyleController(QMainWindow &window, EditingComponent &editor, QAction &toggle)
    : QObject(&window), m_editor(editor), m_toggle(toggle)
{
    m_panel = new StylePanel(&window);
    // Under the page, as the check panel: the rows read across the window's width.
    window.addDockWidget(Qt::BottomDockWidgetArea, m_panel);
    window.resizeDocks({m_panel}, {260}, Qt::Vertical);
    m_toggle.setCheckable(true);
    m_toggle.setChecked(QSettings().value(kShownKey, false).toBool());
    m_panel->setVisible(m_toggle.isChecked());
    m_soon.setSingleShot(true);
    m_soon.setInterval(0); // one request per turn of the event loop; more wait for the answer

    // Closed by its own button: the command follows. Tabbed away, it stays shown.
    connect(m_panel, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            request();
        else if (m_panel->isHidden() && m_toggle.isChecked())
            setShown(false);
        if (!visible)
            m_editor.callLater(u"styleForget"_s, {}, [](const QVariant &) {});
    });
    connect(&m_editor, &EditingComponent::DisplayChanged, this, &StyleController::request);
    connect(&m_editor, &EditingComponent::DisplayChanged, this, &StyleController::takeSteps);
    connect(&m_editor, &EditingComponent::DocumentComplete, this, [this] {
        m_parsed.clear();
        m_pageText.clear();
        m_pageTextTime = {};
        m_steps.clear(); // a page loaded starts a fresh history
        request();
    });
    connect(&m_soon, &QTimer::timeout, this, &StyleController::ask);
    connect(m_panel, &StylePanel::valueEntered, this, &StyleController::enter);
    connect(m_panel, &StylePanel::undoRequested, this,
            [this] { m_editor.ExecCommand(decmd::UNDO, CommandOption::Prompt); });
    connect(m_panel, &StylePanel::switchRequested, this, &StyleController::switchRow);
    connect(m_panel, &StylePanel::removeRequested, this, &StyleController::removeRow);
    connect(m_panel, &StylePanel::addRequested, this, &StyleController::addToRow);
    connect(m_panel, &StylePanel::addRuleRequested, this, &StyleController::addRule);
    connect(m_panel, &StylePanel::previewChanged, this, &StyleController::request);
}

void StyleController::setShown(bool shown)
{
    m_toggle.setChecked(shown);
    QSettings().setValue(kShownKey, shown);
    m_panel->setVisible(shown);
    request();
}

void StyleController::request()
{
    if (m_panel->isVisible())
        m_soon.start();
}

void StyleController::ask()
{
    if (m_waiting) {
        m_again = true;
        return;
    }
    m_waiting = true;
    const quint64 asked = ++m_asked;
    QPointer<StyleController> self(this);
    m_editor.callLater(u"styleMatches"_s,
                       QJsonArray{QJsonValue(QJsonArray::fromStringList(kComputed)),
                                  QJsonValue(QJsonArray::fromStringList(m_panel->forcedStates())),
                                  m_panel->chosenWidth()},
                       [self, asked](const QVariant &answer) {
                           if (self)
                               self->answered(answer, asked);
                       });
}

void StyleController::answered(const QVariant &answer, quint64 asked)
{
    m_waiting = false;
    if (m_again) {
        m_again = false;
        ask();
        return;
    }
    if (asked != m_asked)
        return;
    m_answer = answer.toMap();
    const QVariantList chain = m_answer[u"chain"_s].toList();
    if (chain.isEmpty()) {
        m_panel->showNothing(answer.isValid() ? u"要素が選ばれていません"_s
                                              : u"ページから読めませんでした"_s);
        emit filled();
        return;
    }
    const QList<styles::StyleRow> rows = styles::cascadeRows(
        m_answer, [this](int index, const QVariantMap &sheet) { return readSheet(index, sheet); });
    QList<std::pair<QString, QString>> computed;
    const QVariantMap values = m_answer[u"computed"_s].toMap();
    for (const QString &property : kComputed)
        computed.append({property, values.value(property).toString()});
    const QVariantMap element = chain.front().toMap();
    QString label = element[u"tag"_s].toString();
    if (const QString id = element[u"id"_s].toString(); !id.isEmpty())
        label += u'#' + id;
    for (const QVariant &c : element[u"classes"_s].toList())
        label += u'.' + c.toString();
    m_panel->showRows(label, rows, computed);
    // Where a new rule may go: the page's style elements and the sheets that may be written.
    QList<std::pair<QString, int>> choices;
    const QVariantList sheets = m_answer[u"sheets"_s].toList();
    for (int i = 0; i < sheets.size(); ++i) {
        const QVariantMap sheet = sheets[i].toMap();
        if (sheet[u"kind"_s].toString() == u"style") {
            choices.append({u"ページ内 <style> %1"_s.arg(sheet[u"styleIndex"_s].toInt() + 1), i});
        } else if (const auto source = readSheet(i, sheet);
                   source && source->readOnlyReason.isEmpty()) {
            choices.append({source->label, i});
        }
    }
    m_panel->setSheets(choices);
    m_panel->setUndoAvailable(m_editor.QueryStatus(decmd::UNDO) == CommandStatus::Enabled);
    emit filled();
}

QString StyleController::pageFolder() const
{
    const QString page = m_editor.documentPath();
    return page.isEmpty() ? QString() : QFileInfo(page).absolutePath();
}

int StyleController::styleElementLine(int styleIndex)
{
    // The page's file as last saved (read again when it changes on the disk): lines as
    // the file has them, without asking the page. After edits that add lines above the
    // style element its line is that of the saved file.
    const QFileInfo file(m_editor.documentPath());
    if (file.exists() && file.lastModified() != m_pageTextTime) {
        QFile page(file.filePath());
        if (page.open(QIODevice::ReadOnly)) {
            const auto decoded = textcodec::decode(page.readAll(), m_editor.documentEncoding());
            m_pageText = decoded ? decoded->text : QString();
            m_pageTextTime = file.lastModified();
        }
    }
    static const QRegularExpression open(u"<style\\b[^>]*>"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    auto it = open.globalMatch(m_pageText);
    for (int i = 0; it.hasNext(); ++i) {
        const auto match = it.next();
        if (i == styleIndex)
            return int(m_pageText.first(match.capturedEnd()).count(u'\n')) + 1;
    }
    return 1;
}

std::optional<styles::SheetSource> StyleController::readSheet(int index, const QVariantMap &sheet)
{
    std::optional<styles::SheetSource> read = readSheetText(sheet);
    if (!read)
        return read;
    // Our parse of each sheet is kept while its text stays the same.
    const QString key = read->path.isEmpty() ? u"style %1"_s.arg(index) : read->path;
    auto &kept = m_parsed[key];
    if (!kept || kept->sheet.text() != read->text)
        kept = std::make_shared<const styles::ParsedText>(read->text);
    read->parsed = kept;
    return read;
}

std::optional<styles::SheetSource> StyleController::readSheetText(const QVariantMap &sheet)
{
    styles::SheetSource source;
    if (sheet[u"kind"_s].toString() == u"style") {
        source.text = sheet[u"text"_s].toString();
        source.firstLine = styleElementLine(sheet[u"styleIndex"_s].toInt());
        return source;
    }
    const QUrl url(sheet[u"href"_s].toString());
    if (url.scheme() != u"lumipage-doc" && !url.isLocalFile())
        return std::nullopt; // a sheet on a server: its text is not ours to read here
    source.path = url.isLocalFile() ? url.toLocalFile() : url.path();
    const LinkedSheets::File *file =
        m_sheets.read(source.path, pageFolder(), m_editor.documentEncoding());
    if (!file)
        return std::nullopt;
    source.text = file->text.text;
    source.readOnlyReason = file->readOnlyReason;
    const QString folder = pageFolder();
    source.label = folder.isEmpty() ? QFileInfo(source.path).fileName()
                                    : QDir(folder).relativeFilePath(source.path);
    return source;
}

void StyleController::finish(bool written, const QString &message)
{
    m_panel->showMessage(message);
    request();
    emit edited(written);
}

} // namespace lumipage
