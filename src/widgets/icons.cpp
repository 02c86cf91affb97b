#include "widgets/icons.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace lumipage::Icons
{

namespace
{

// Toolbar keys and the freedesktop icon names that mean the same; keys without a
// standard name show our own drawing only.
const QHash<QString, QString> &themeNames()
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("new_doc"), QStringLiteral("document-new")},
        {QStringLiteral("file_open"), QStringLiteral("document-open")},
        {QStringLiteral("file_save"), QStringLiteral("document-save")},
        {QStringLiteral("hyou"), QStringLiteral("insert-table")},
        {QStringLiteral("insert_retu"), QStringLiteral("edit-table-insert-column-right")},
        {QStringLiteral("insert_gyou"), QStringLiteral("edit-table-insert-row-below")},
        {QStringLiteral("delete_retu"), QStringLiteral("edit-table-delete-column")},
        {QStringLiteral("delete_gyou"), QStringLiteral("edit-table-delete-row")},
        {QStringLiteral("moji_left"), QStringLiteral("format-justify-left")},
        {QStringLiteral("moji_center"), QStringLiteral("format-justify-center")},
        {QStringLiteral("moji_right"), QStringLiteral("format-justify-right")},
        {QStringLiteral("moji_color"), QStringLiteral("format-text-color")},
        {QStringLiteral("moji_backcolor"), QStringLiteral("format-fill-color")},
        {QStringLiteral("moji_copy"), QStringLiteral("edit-copy")},
        {QStringLiteral("moji_cut"), QStringLiteral("edit-cut")},
        {QStringLiteral("moji_paste"), QStringLiteral("edit-paste")},
        {QStringLiteral("moji_undo"), QStringLiteral("edit-undo")},
        {QStringLiteral("moji_redo"), QStringLiteral("edit-redo")},
        {QStringLiteral("moji_under"), QStringLiteral("format-text-underline")},
        {QStringLiteral("moji_bold"), QStringLiteral("format-text-bold")},
        {QStringLiteral("moji_italic"), QStringLiteral("format-text-italic")},
        {QStringLiteral("link_set"), QStringLiteral("insert-link")},
        {QStringLiteral("nolink"), QStringLiteral("remove-link")},
        {QStringLiteral("view_source"), QStringLiteral("text-html")},
        {QStringLiteral("image_set"), QStringLiteral("insert-image")},
        {QStringLiteral("indent_set"), QStringLiteral("format-indent-more")},
        {QStringLiteral("del_indent"), QStringLiteral("format-indent-less")},
        {QStringLiteral("font_set"), QStringLiteral("preferences-desktop-font")},
        {QStringLiteral("all_select"), QStringLiteral("edit-select-all")},
        {QStringLiteral("sakujyo"), QStringLiteral("edit-delete")},
        {QStringLiteral("iro"), QStringLiteral("color-fill")},
        {QStringLiteral("go_browse"), QStringLiteral("view-preview")},
        {QStringLiteral("go_edit"), QStringLiteral("document-edit")},
        {QStringLiteral("text_find"), QStringLiteral("edit-find")},
        {QStringLiteral("list"), QStringLiteral("format-list-unordered")},
        {QStringLiteral("banngou_list"), QStringLiteral("format-list-ordered")},
        {QStringLiteral("veld_help"), QStringLiteral("help-contents")},
        {QStringLiteral("ie"), QStringLiteral("internet-web-browser")},
        {QStringLiteral("owari"), QStringLiteral("application-exit")},
        {QStringLiteral("publish_site"), QStringLiteral("cloud-upload")},
    };
    return names;
}

bool themeInstalled(const QString &name)
{
    for (const QString &folder : QIcon::themeSearchPaths())
        if (QFile::exists(QDir(folder).filePath(name + QStringLiteral("/index.theme"))))
            return true;
    return false;
}

} // namespace

QIcon glyph(const QString &text, int group)
{
    static const QColor tiles[] = {QColor(0x3d, 0x6e, 0xb4), QColor(0x2e, 0x8b, 0x57),
                                   QColor(0x8e, 0x44, 0xad), QColor(0xc0, 0x6c, 0x1a),
                                   QColor(0x6b, 0x6b, 0x6b)};
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tiles[std::abs(group) % 5]);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(text.size() > 2 ? 11 : text.size() == 2 ? 14 : 20);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

QIcon application()
{
    return QIcon(QStringLiteral(":/lumipage/packaging/lumipage.svg"));
}

QString themeName(const QString &key)
{
    return themeNames().value(key);
}

QString ownIconPath(const QString &key)
{
    return QStringLiteral(":/lumipage/widgets/icons/%1.svg").arg(key);
}

QIcon forKey(const QString &key)
{
    const QString own = ownIconPath(key);
    const QIcon fallback = QFile::exists(own) ? QIcon(own) : glyph(key.left(1).toUpper(), 4);
    const QString name = themeName(key);
    return name.isEmpty() ? fallback : QIcon::fromTheme(name, fallback);
}

void chooseTheme(bool darkPalette)
{
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor") && themeInstalled(current))
        return;
    const QStringList wanted =
        darkPalette ? QStringList{QStringLiteral("breeze-dark"), QStringLiteral("breeze"),
                                  QStringLiteral("Adwaita")}
                    : QStringList{QStringLiteral("breeze"), QStringLiteral("Adwaita"),
                                  QStringLiteral("breeze-dark")};
    for (const QString &name : wanted) {
        if (themeInstalled(name)) {
            QIcon::setThemeName(name);
            QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
            return;
        }
    }
}

} // namespace lumipage::Icons
