#include "styles/stylecontroller.h"

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

// The declaration of `block` (recursing into @media) that starts at `start`.
const css::Declaration *declarationAt(const QList<css::Rule> &rules, qsizetype start,
                                      const css::DeclarationBlock **block,
                                      css::DeclarationBlock &holder)
{
    for (const css::Rule &r : rules) {
        for (const css::Declaration &d : r.block.declarations)
            if (d.start == start) {
                holder = css::blockOf(r);
                *block = &holder;
                return &d;
            }
        if (const auto *d = declarationAt(r.block.rules, start, block, holder))
            return d;
    }
    return nullptr;
}

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
    m_soon.setInterval(30);

    // Closed by its own button: the command follows. Tabbed away, it stays shown.
    connect(m_panel, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            request();
        else if (m_panel->isHidden() && m_toggle.isChecked())
            setShown(false);
    });
    connect(&m_editor, &EditingComponent::DisplayChanged, this, &StyleController::request);
    connect(&m_editor, &EditingComponent::DocumentComplete, this, [this] {
        m_pageText.clear();
        m_pageTextTime = {};
        m_undo.clear();
        m_panel->setUndoAvailable(false);
        request();
    });
    connect(&m_soon, &QTimer::timeout, this, &StyleController::ask);
    connect(m_panel, &StylePanel::valueEntered, this, &StyleController::enter);
    connect(m_panel, &StylePanel::undoRequested, this, &StyleController::undo);
    connect(m_panel, &StylePanel::switchRequested, this, &StyleController::switchRow);
    connect(m_panel, &StylePanel::removeRequested, this, &StyleController::removeRow);
    connect(m_panel, &StylePanel::addRequested, this, &StyleController::addToRow);
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
                       QJsonArray{QJsonValue(QJsonArray::fromStringList(kComputed))},
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

std::optional<styles::SheetSource> StyleController::readSheet(int, const QVariantMap &sheet)
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

void StyleController::enter(int index, const QString &value)
{
    const QList<styles::StyleRow> &rows = m_panel->rows();
    if (index < 0 || index >= rows.size())
        return;
    const styles::StyleRow row = rows[index];
    if (!row.readOnlyReason.isEmpty())
        return finish(false, row.readOnlyReason);
    if (row.where != styles::Where::Presentational) {
        if (const QString problem = css::valueProblem(value); !problem.isEmpty())
            return finish(false, problem);
    }
    // The engine has the last word on what a property takes.
    const QString property = row.where == styles::Where::Presentational
                                 ? row.equivalent.section(u':', 0, 0)
                                 : row.property;
    QPointer<StyleController> self(this);
    m_editor.callLater(
        u"styleSupports"_s, {property, value.trimmed()},
        [self, row, value, property](const QVariant &supported) {
            if (!self)
                return;
            if (!property.isEmpty() && !supported.toBool())
                return self->finish(
                    false, u"「%1」は %2 の値として使えません。書き込みませんでした。"_s.arg(
                               value.trimmed(), property));
            self->write(row, value.trimmed());
        });
}

void StyleController::write(const styles::StyleRow &row, const QString &value)
{
    if (row.where == styles::Where::Presentational) {
        const QJsonObject apply = {{u"place"_s, u"presentational"_s},
                                   {u"ordinal"_s, row.ordinal},
                                   {u"name"_s, row.property},
                                   {u"value"_s, value}};
        return show(apply);
    }
    const bool important =
        css::Sheet(u"x:"_s + value).parseOneDeclaration().declarations.value(0).important;
    change(row, {[value](const QString &, const css::DeclarationBlock &,
                         const css::Declaration &d) { return css::setValue(d, value); },
                 row.property, value, important || row.important});
}

void StyleController::switchRow(int index)
{
    if (index < 0 || index >= m_panel->rows().size())
        return;
    const styles::StyleRow row = m_panel->rows()[index];
    change(row, {[](const QString &text, const css::DeclarationBlock &, const css::Declaration &d) {
                     return d.disabled ? css::switchOn(text, d) : css::switchOff(text, d);
                 },
                 row.property, row.disabled ? QJsonValue(row.value) : QJsonValue(), row.important});
}

void StyleController::removeRow(int index)
{
    if (index < 0 || index >= m_panel->rows().size())
        return;
    const styles::StyleRow row = m_panel->rows()[index];
    change(row, {[](const QString &text, const css::DeclarationBlock &block,
                    const css::Declaration &d) { return css::removeDeclaration(text, block, d); },
                 row.property, QJsonValue(), false});
}

void StyleController::addToRow(int index, const QString &typed)
{
    if (index < 0 || index >= m_panel->rows().size())
        return;
    const qsizetype colon = typed.indexOf(u':');
    if (colon < 0)
        return finish(false, u"「プロパティ: 値」の形で入力してください。"_s);
    const QString name = typed.first(colon).trimmed().toLower();
    const QString value = typed.sliced(colon + 1).trimmed();
    const styles::StyleRow row = m_panel->rows()[index];
    const bool important =
        css::Sheet(u"x:"_s + value).parseOneDeclaration().declarations.value(0).important;
    QPointer<StyleController> self(this);
    m_editor.callLater(
        u"styleSupports"_s, {name, value},
        [self, row, name, value, important](const QVariant &supported) {
            if (!self)
                return;
            if (!supported.toBool())
                return self->finish(
                    false,
                    u"「%1」は %2 の値として使えません。書き込みませんでした。"_s.arg(value, name));
            self->change(row,
                         {[name, value](const QString &text, const css::DeclarationBlock &block,
                                        const css::Declaration &) {
                              return css::addDeclaration(text, block, name, value);
                          },
                          name, value, important, true});
        });
}

void StyleController::change(const styles::StyleRow &row, const Change &change)
{
    if (!row.readOnlyReason.isEmpty())
        return finish(false, row.readOnlyReason);
    if (row.where == styles::Where::Presentational)
        return finish(false, u"属性は、ここでは値を変えることだけができます。"_s);
    css::DeclarationBlock holder;
    const css::DeclarationBlock *block = &holder;
    const QVariantList sheets = m_answer[u"sheets"_s].toList();
    QString text;
    const LinkedSheets::File *file = nullptr;
    QString path;
    if (row.where == styles::Where::Attribute) {
        for (const QVariant &el : m_answer[u"chain"_s].toList())
            if (el.toMap()[u"ordinal"_s].toInt() == row.ordinal)
                text = el.toMap()[u"style"_s].toString();
    } else if (row.where == styles::Where::StyleElement) {
        text = sheets.value(row.sheet).toMap()[u"text"_s].toString();
    } else {
        path = QUrl(sheets.value(row.sheet).toMap()[u"href"_s].toString()).path();
        file = m_sheets.read(path, pageFolder(), m_editor.documentEncoding());
        if (!file)
            return finish(false, u"スタイルシートを読めませんでした。"_s);
        text = file->text.text;
    }
    const css::Sheet sheet(text);
    const css::Declaration *d = nullptr;
    if (row.where == styles::Where::Attribute) {
        holder = css::attributeBlock(sheet);
        for (const css::Declaration &candidate : holder.declarations)
            if (candidate.start == row.declarationStart)
                d = &candidate;
    } else {
        d = declarationAt(sheet.parseStylesheet().rules, row.declarationStart, &block, holder);
    }
    // The text may have changed since the panel read it (a sheet changed elsewhere): the
    // same place must still hold the same declaration.
    if (!d || d->name.toLower() != row.property ||
        text.sliced(d->valueStart, d->valueEnd - d->valueStart) != row.value)
        return finish(false, u"宣言が見つかりませんでした。パネルを読み直します。"_s);
    const css::Edit edit = change.edit(text, *block, *d);
    if (!edit.problem.isEmpty())
        return finish(false, edit.problem);

    if (row.where != styles::Where::Sheet)
        return show(
            {{u"place"_s, row.where == styles::Where::Attribute ? u"attribute"_s : u"style"_s},
             {u"ordinal"_s, row.ordinal},
             {u"styleIndex"_s, row.styleIndex},
             {u"text"_s, css::applied(text, edit)}});

    QJsonArray rulePath;
    for (int step : row.path)
        rulePath.append(step);
    const QJsonObject rule = {
        {u"place"_s, u"sheet"_s}, {u"sheet"_s, row.sheet}, {u"path"_s, rulePath}};
    SheetEdit undo{path, {}, {}, rule};
    // What takes the engine's reading back: the property as it was, or gone when new.
    undo.engine[u"property"_s] = change.property;
    undo.engine[u"value"_s] = change.added || row.disabled ? QJsonValue() : QJsonValue(row.value);
    undo.engine[u"important"_s] = row.important;
    if (const QString failed =
            m_sheets.replace(path, edit.start, edit.end, edit.text, &undo.before);
        !failed.isEmpty())
        return finish(false, failed);
    undo.after = m_sheets.read(path, pageFolder(), m_editor.documentEncoding())->bytes;
    m_undo.append(undo);
    m_panel->setUndoAvailable(true);
    QJsonObject apply = rule;
    apply[u"property"_s] = change.property;
    apply[u"value"_s] = change.value;
    apply[u"important"_s] = change.important;
    show(apply);
}

void StyleController::show(const QJsonObject &apply)
{
    QPointer<StyleController> self(this);
    m_editor.callLater(u"styleApply"_s, {apply}, [self](const QVariant &done) {
        if (self)
            self->finish(done.toBool(),
                         done.toBool() ? QString() : u"ページに反映できませんでした。"_s);
    });
}

void StyleController::undo()
{
    if (m_undo.isEmpty())
        return;
    const SheetEdit last = m_undo.takeLast();
    m_panel->setUndoAvailable(!m_undo.isEmpty());
    if (const QString failed = m_sheets.restore(last.path, last.after, last.before);
        !failed.isEmpty())
        return finish(false, failed);
    show(last.engine);
}

void StyleController::finish(bool written, const QString &message)
{
    m_panel->showMessage(message);
    request();
    emit edited(written);
}

} // namespace lumipage
