#pragma once

#include "platform/effects/vbstranslator.h"

#include <QString>

namespace lumipage
{

// A copy of a page that plays its effects in today's engine.
struct EffectsPage {
    QString html;
    // Script statements that were left out, with their page lines.
    QList<vbs::Problem> problems;
};

// Whether the page has anything for the effects runtime: a filter declaration, a
// VBScript block or a VBScript event attribute.
bool pageUsesEffects(const QString &html);

// The page with the effects runtime and its translated scripts added at the start of
// its head (a page without effects comes back as it is). Nothing else of the page is
// changed: its own scripts stay where they are, inert in today's engine.
EffectsPage pageWithEffects(const QString &html);

// The runtime scripts, in the order they must run, as one text.
QString effectsRuntime();

// The VBScript blocks of a page and the event attributes to run as VBScript (those of
// elements with LANGUAGE=VBSCRIPT, and those calling a procedure of the blocks).
QList<vbs::ScriptBlock> vbscriptBlocks(const QString &html);
QList<vbs::InlineHandler> vbscriptHandlers(const QString &html, const QStringList &procedures);

} // namespace lumipage
