#pragma once

#include "platform/desktop/commondialog.h"
#include "platform/desktop/shell.h"

#include <QQueue>
#include <QStringList>

namespace lumipage::test
{

// A common dialog that answers from a script instead of asking; an empty queue cancels.
class ScriptedCommonDialog : public CommonDialog
{
public:
    QQueue<QString> files;
    QQueue<QColor> colours;
    int shown = 0;

    std::optional<QString> showOpen(QWidget *) override { return next(); }
    std::optional<QString> showSave(QWidget *) override { return next(); }
    std::optional<QColor> showColor(QWidget *, const QColor & = {}) override
    {
        ++shown;
        if (colours.isEmpty())
            return std::nullopt;
        return colours.dequeue();
    }

private:
    std::optional<QString> next()
    {
        ++shown;
        if (files.isEmpty())
            return std::nullopt;
        fileName = files.dequeue();
        return fileName;
    }
};

// A shell that records what it was asked to open.
class RecordingShell : public Shell
{
public:
    QStringList opened;
    void open(const QString &path) override { opened << path; }
};

} // namespace lumipage::test
