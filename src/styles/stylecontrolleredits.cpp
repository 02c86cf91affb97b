// StyleController's edits: a value entered, a declaration switched, removed or added, a
// rule added, and the panel's undo of its sheet writes (kept apart from the filling).
#include "styles/stylecontroller.h"

#include "platform/editing/editingcomponent.h"
#include "platform/markup/cssedits.h"
#include "styles/stylepanel.h"

#include <QJsonArray>
#include <QPointer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace lumipage
{

namespace
{

// How many of the latest sheet edits the page's undo can take back in the files.
constexpr int kKeptSheetSteps = 200;

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
    write(row, value.trimmed());
}

QJsonObject StyleController::supports(const QString &property, const QString &value)
{
    // The engine has the last word on what a property takes (an old attribute without a
    // CSS equivalent has no property to ask about).
    if (property.isEmpty())
        return {};
    return {{u"property"_s, property}, {u"value"_s, value}};
}

QByteArray StyleController::writtenBytes(const QString &path)
{
    // Unreadable right after the write: the undo then finds the file changed and says so.
    const LinkedSheets::File *now = m_sheets.read(path, pageFolder(), m_editor.documentEncoding());
    return now ? now->bytes : QByteArray();
}

void StyleController::write(const styles::StyleRow &row, const QString &value)
{
    if (row.where == styles::Where::Presentational) {
        const QJsonObject apply = {
            {u"place"_s, u"presentational"_s},
            {u"ordinal"_s, row.ordinal},
            {u"name"_s, row.property},
            {u"value"_s, value},
            {u"supports"_s, supports(row.equivalent.section(u':', 0, 0).trimmed(), value)}};
        return show(apply);
    }
    const bool important =
        css::Sheet(u"x:"_s + value).parseOneDeclaration().declarations.value(0).important;
    change(row, {[value](const QString &, const css::DeclarationBlock &,
                         const css::Declaration &d) { return css::setValue(d, value); },
                 row.property, value, important || row.important, false, true});
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
    change(row, {[name, value](const QString &text, const css::DeclarationBlock &block,
                               const css::Declaration &) {
                     return css::addDeclaration(text, block, name, value);
                 },
                 name, value, important, true, true});
}

void StyleController::addRule(int index, const QString &typed)
{
    const QVariantMap element = m_answer[u"chain"_s].toList().value(0).toMap();
    const QVariantList classes = element[u"classes"_s].toList();
    const QString id = element[u"id"_s].toString();
    if (classes.isEmpty() && id.isEmpty())
        return finish(false, u"この要素にはクラスも id もないので、ルールを追加できません。"_s);
    const QString selector =
        classes.isEmpty() ? css::idSelector(id) : css::classSelector(classes.front().toString());
    const qsizetype colon = typed.indexOf(u':');
    if (colon < 0)
        return finish(false, u"「プロパティ: 値」の形で入力してください。"_s);
    const QString name = typed.first(colon).trimmed().toLower();
    const QString value = typed.sliced(colon + 1).trimmed();
    if (const QString problem = css::valueProblem(value); !problem.isEmpty())
        return finish(false, problem);
    const QVariantMap sheet = m_answer[u"sheets"_s].toList().value(index).toMap();
    // At a tablet's or a phone's width the rule is for views that narrow and narrower.
    const int width = m_panel->chosenWidth();
    const QString media = width > 0 ? u"(max-width: %1px)"_s.arg(width) : QString();
    if (sheet[u"kind"_s].toString() == u"style") {
        const QString text = sheet[u"text"_s].toString();
        const css::Edit edit =
            css::addRule(text, css::Sheet(text).parseStylesheet(), selector, name, value, media);
        if (!edit.problem.isEmpty())
            return finish(false, edit.problem);
        return show({{u"place"_s, u"style"_s},
                     {u"styleIndex"_s, sheet[u"styleIndex"_s].toInt()},
                     {u"text"_s, css::applied(text, edit)},
                     {u"supports"_s, supports(name, value)}});
    }
    const auto source = readSheet(index, sheet);
    if (!source || !source->readOnlyReason.isEmpty())
        return finish(false,
                      source ? source->readOnlyReason : u"スタイルシートを読めませんでした。"_s);
    const css::Edit edit =
        css::addRule(source->text, source->parsed->top, selector, name, value, media);
    if (!edit.problem.isEmpty())
        return finish(false, edit.problem);
    SheetEdit undo{source->path, {}, {}, {}, {}};
    undo.engine = {{u"place"_s, u"unrule"_s},
                   {u"sheet"_s, index},
                   {u"selector"_s, selector},
                   {u"media"_s, media}};
    showAndWrite(undo,
                 {{u"place"_s, u"rule"_s},
                  {u"sheet"_s, index},
                  {u"media"_s, media},
                  {u"text"_s, u"%1 { %2: %3; }"_s.arg(selector, name, value)},
                  {u"supports"_s, supports(name, value)}},
                 edit);
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
    const css::Declaration *d = nullptr;
    std::shared_ptr<const styles::ParsedText> parsed;
    if (row.where == styles::Where::Attribute) {
        holder = css::attributeBlock(css::Sheet(text));
        for (const css::Declaration &candidate : holder.declarations)
            if (candidate.start == row.declarationStart)
                d = &candidate;
    } else {
        // The panel's parse of the sheet serves while the text is the same (a big sheet
        // is not parsed again for each edit).
        parsed = m_parsed.value(path.isEmpty() ? u"style %1"_s.arg(row.sheet) : path);
        if (!parsed || parsed->sheet.text() != text)
            parsed = std::make_shared<const styles::ParsedText>(text);
        d = declarationAt(parsed->top.rules, row.declarationStart, &block, holder);
    }
    // The text may have changed since the panel read it (a sheet changed elsewhere): the
    // same place must still hold the same declaration.
    if (!d || d->name.toLower() != row.property ||
        text.sliced(d->valueStart, d->valueEnd - d->valueStart) != row.value)
        return finish(false, u"宣言が見つかりませんでした。パネルを読み直します。"_s);
    const css::Edit edit = change.edit(text, *block, *d);
    if (!edit.problem.isEmpty())
        return finish(false, edit.problem);

    const QJsonObject check =
        change.typed ? supports(change.property, change.value.toString()) : QJsonObject();
    if (row.where != styles::Where::Sheet)
        return show(
            {{u"place"_s, row.where == styles::Where::Attribute ? u"attribute"_s : u"style"_s},
             {u"ordinal"_s, row.ordinal},
             {u"styleIndex"_s, row.styleIndex},
             {u"text"_s, css::applied(text, edit)},
             {u"supports"_s, check}});

    QJsonArray rulePath;
    for (int step : row.path)
        rulePath.append(step);
    const QJsonObject rule = {
        {u"place"_s, u"sheet"_s}, {u"sheet"_s, row.sheet}, {u"path"_s, rulePath}};
    SheetEdit undo{path, {}, {}, rule, {}};
    // What takes the engine's reading back: the property as it was, or gone when new.
    undo.engine[u"property"_s] = change.property;
    undo.engine[u"value"_s] = change.added || row.disabled ? QJsonValue() : QJsonValue(row.value);
    undo.engine[u"important"_s] = row.important;
    QJsonObject apply = rule;
    apply[u"property"_s] = change.property;
    apply[u"value"_s] = change.value;
    apply[u"important"_s] = change.important;
    apply[u"supports"_s] = check;
    showAndWrite(undo, apply, edit);
}

void StyleController::showAndWrite(SheetEdit edit, QJsonObject apply, const css::Edit &change)
{
    // Shown first, so that the page follows the typing without waiting for the disk; the
    // file is written when the page has taken the change, and a write that fails takes it
    // back from the page again. The step goes into the page's history with the change.
    const int step = ++m_lastStep;
    edit.apply = apply; // what makes it again on a redo: no check, no new step
    edit.apply.remove(u"supports"_s);
    QJsonObject back = edit.engine;
    back[u"drop"_s] = step;
    apply[u"step"_s] = step;
    show(
        apply,
        [this, edit, step, change]() mutable {
            if (const QString failed = m_sheets.replace(edit.path, change.start, change.end,
                                                        change.text, &edit.before);
                !failed.isEmpty())
                return failed;
            edit.after = writtenBytes(edit.path);
            m_steps.insert(step, edit);
            // Each keeps the sheet's bytes twice: only the latest are kept (an older one,
            // undone on the page, leaves the file as it is and says so).
            m_steps.remove(step - kKeptSheetSteps);
            return QString();
        },
        back);
}

void StyleController::show(const QJsonObject &apply, std::function<QString()> written,
                           const QJsonObject &back)
{
    QPointer<StyleController> self(this);
    m_editor.callLater(
        u"styleApply"_s, {apply}, [self, apply, written, back](const QVariant &done) {
            if (!self)
                return;
            if (done.toString() == u"unsupported") {
                const QJsonObject check = apply[u"supports"_s].toObject();
                return self->finish(
                    false, u"「%1」は %2 の値として使えません。書き込みませんでした。"_s.arg(
                               check[u"value"_s].toString(), check[u"property"_s].toString()));
            }
            if (!done.toBool())
                return self->finish(false, u"ページに反映できませんでした。"_s);
            emit self->shownOnPage();
            if (written) {
                if (const QString failed = written(); !failed.isEmpty()) {
                    self->m_editor.callLater(u"styleApply"_s, {back}, [](const QVariant &) {});
                    return self->finish(false, failed);
                }
            }
            self->finish(true, {});
        });
}

void StyleController::takeSteps()
{
    if (m_steps.isEmpty())
        return;
    if (m_taking) {
        m_takeAgain = true;
        return;
    }
    m_taking = true;
    QPointer<StyleController> self(this);
    m_editor.callLater(u"styleStepsTaken"_s, {}, [self](const QVariant &answer) {
        if (self)
            self->stepsTaken(answer);
    });
}

void StyleController::stepsTaken(const QVariant &answer)
{
    m_taking = false;
    // In the order the page took them: each puts the file back as the step had it, only
    // while the file holds what the other side left (changed elsewhere: nothing is written).
    for (const QVariant &taken : answer.toList()) {
        const QVariantMap step = taken.toMap();
        const bool undone = step[u"undone"_s].toBool();
        const auto edit = m_steps.constFind(step[u"step"_s].toInt());
        if (edit == m_steps.cend()) {
            finish(false, u"スタイルシートの古い変更なので、ファイルはそのままにしました。"_s);
            continue;
        }
        const QString failed = undone ? m_sheets.restore(edit->path, edit->after, edit->before)
                                      : m_sheets.restore(edit->path, edit->before, edit->after);
        if (!failed.isEmpty()) {
            finish(false, u"%1: %2"_s.arg(undone ? u"スタイルシートを元に戻せませんでした"_s
                                                 : u"スタイルシートをやり直せませんでした"_s,
                                          failed));
            continue;
        }
        show(undone ? edit->engine : edit->apply);
    }
    if (m_takeAgain) {
        m_takeAgain = false;
        takeSteps();
    }
}

} // namespace lumipage
