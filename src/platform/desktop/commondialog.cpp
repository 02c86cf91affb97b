#include "platform/desktop/commondialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QRegularExpression>

namespace lumipage
{

QString CommonDialog::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &text = parts.at(i);
        const QString patterns =
            QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from trailing parentheses; add them when the text has none.
        out << (text.endsWith(QLatin1Char(')')) ? text
                                                : text + QStringLiteral(" (") + patterns + ')');
    }
    return out.join(QStringLiteral(";;"));
}

namespace
{

std::optional<QString> runFileDialog(QWidget *parent, CommonDialog &dialog, bool save)
{
    QFileDialog files(parent);
    files.setObjectName(QStringLiteral("CommonDialog1"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setOption(QFileDialog::DontConfirmOverwrite);
    files.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    files.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    files.setNameFilter(CommonDialog::qtFilter(dialog.filter));
    if (!dialog.fileName.isEmpty())
        files.selectFile(dialog.fileName);
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty())
        return std::nullopt;
    dialog.fileName = files.selectedFiles().constFirst();
    return dialog.fileName;
}

} // namespace

std::optional<QString> CommonDialog::showOpen(QWidget *parent)
{
    return runFileDialog(parent, *this, false);
}

std::optional<QString> CommonDialog::showSave(QWidget *parent)
{
    return runFileDialog(parent, *this, true);
}

std::optional<QColor> CommonDialog::showColor(QWidget *parent, const QColor &initial)
{
    QColorDialog colours(parent);
    if (initial.isValid())
        colours.setCurrentColor(initial);
    colours.setObjectName(QStringLiteral("CommonDialog1"));
    colours.setOption(QColorDialog::DontUseNativeDialog);
    if (colours.exec() != QDialog::Accepted)
        return std::nullopt;
    return colours.selectedColor();
}

std::optional<CommonDialog::FontChoice> CommonDialog::showFont(QWidget *parent,
                                                               const FontChoice &initial)
{
    QFontDialog fonts(initial.font, parent);
    fonts.setObjectName(QStringLiteral("CommonDialog1"));
    fonts.setOption(QFontDialog::DontUseNativeDialog);
    if (fonts.exec() != QDialog::Accepted)
        return std::nullopt;
    // Qt's font dialog has no colour; the effects flag asks for one after the font.
    FontChoice choice{fonts.selectedFont(), initial.color};
    if (flags & 256) {
        QColorDialog colours(initial.color, parent);
        colours.setOption(QColorDialog::DontUseNativeDialog);
        colours.setWindowTitle(QObject::tr("文字色"));
        if (colours.exec() == QDialog::Accepted)
            choice.color = colours.selectedColor();
    }
    return choice;
}

} // namespace lumipage
