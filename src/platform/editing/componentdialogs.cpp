#include "platform/editing/componentdialogs.h"

#include "platform/desktop/commondialog.h"
#include "platform/editing/dialogs/finddialog.h"
#include "platform/editing/dialogs/fontdialog.h"
#include "platform/editing/dialogs/imagedialog.h"
#include "platform/editing/webengineeditingcomponent.h"
#include "platform/desktop/messages.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QMenu>

namespace lumipage
{

ComponentDialogs::ComponentDialogs(WebEngineEditingComponent &component) : m_component(component) {}

ComponentDialogs::~ComponentDialogs() = default;

CommonDialog &ComponentDialogs::commonDialog()
{
    if (m_common)
        return *m_common;
    if (!m_own)
        m_own = std::make_unique<CommonDialog>();
    return *m_own;
}

bool ComponentDialogs::find()
{
    FindDialog dialog(m_findText, m_component.window());
    bool foundAny = false;
    QObject::connect(
        &dialog, &FindDialog::findNext, &dialog,
        [this, &dialog, &foundAny](const QString &text, bool matchCase, bool wholeWord, bool up) {
            m_findText = text;
            const PageCaller::Result result =
                m_component.call(QStringLiteral("find"), {text, matchCase, wholeWord, up});
            if (!result.ok)
                return;
            if (result.value.toString() == QLatin1String("none"))
                messages::inform(&dialog, QStringLiteral("「%1」が見つかりません。").arg(text));
            else
                foundAny = true;
        });
    dialog.exec();
    m_findText = dialog.text();
    return foundAny;
}

bool ComponentDialogs::font()
{
    const PageCaller::Result state = m_component.call(QStringLiteral("fontState"));
    if (!state.ok)
        return false;
    const QVariantMap now = state.value.toMap();
    const FontFields current{now.value(QStringLiteral("face")).toString(),
                             now.value(QStringLiteral("size")).toString(),
                             now.value(QStringLiteral("color")).toString(),
                             now.value(QStringLiteral("bold")).toBool(),
                             now.value(QStringLiteral("italic")).toBool(),
                             now.value(QStringLiteral("underline")).toBool()};
    FontDialog dialog(current, commonDialog(), m_component.window());
    if (dialog.exec() != QDialog::Accepted || dialog.request().isEmpty())
        return false; // a cancel ends the command silently
    const PageCaller::Result done =
        m_component.call(QStringLiteral("applyFont"), {dialog.request()});
    return done.ok && done.value.toBool();
}

bool ComponentDialogs::image(CommandOption option, const QVariant &value)
{
    const QString path = m_component.documentPath();
    const QString folder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
    if (option != CommandOption::Prompt && value.isValid()) {
        ImageFields fields;
        fields.source = value.toString();
        return imageProblem(fields).isEmpty() && m_component.pasteHTML(imageMarkup(fields, folder));
    }
    // A selected image is edited in place; otherwise a new one goes to the caret.
    const PageCaller::Result selected = m_component.call(QStringLiteral("selectedImage"));
    if (!selected.ok)
        return false;
    const QVariantMap old = selected.value.toMap();
    const auto field = [&old](const char *name) {
        return old.value(QLatin1String(name)).toString();
    };
    ImageDialog dialog({field("src"), field("alt"), field("align"), field("border"),
                        field("hspace"), field("vspace")},
                       commonDialog(), m_component.window());
    const int shownWidth = old.value(QStringLiteral("shownWidth")).toInt();
    dialog.setPage(folder, shownWidth, old.value(QStringLiteral("shownHeight")).toInt(),
                   old.isEmpty() || old.value(QStringLiteral("replaceable")).toBool());
    const int answer = dialog.exec();
    if (answer == QDialog::Rejected)
        return false;
    const bool optimize = answer == ImageDialog::OptimizeForWeb && m_imageRoad;
    if (selected.value.isNull() || old.isEmpty() || optimize) {
        // A selected picture made into a web copy is replaced by the new element.
        const std::optional<QString> markup =
            m_imageRoad ? m_imageRoad(dialog.fields(), folder, shownWidth, optimize)
                        : imageMarkup(dialog.fields(), folder);
        return markup && m_component.pasteHTML(*markup);
    }
    QJsonObject attributes;
    for (const auto &[name, text] : imageAttributes(dialog.fields(), folder))
        attributes.insert(name, text);
    const PageCaller::Result done = m_component.call(QStringLiteral("updateImage"), {attributes});
    return done.ok && done.value.toBool();
}

} // namespace lumipage
