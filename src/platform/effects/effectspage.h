#pragma once

#include "platform/effects/vbstranslator.h"
#include "platform/browsing/pagetransform.h"

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

// Whether the runtime is also published on the window, as the frozen object
// `__lumipageEffects` ({filters, vbs}), for tests to look into; the runtime never reads
// it, so a page that defines the name still plays its effects.
enum class RuntimeHandle { Hidden, Published };

// Whether transitions play in their time, or end the moment they start (the page as it
// stands once its effects have run, for paper).
enum class Transitions { Played, Ended };

// The page with the effects runtime and its translated scripts added at the end of its
// head (a page without effects comes back as it is). Nothing else of the page is
// changed: its own scripts stay where they are, inert in today's engine.
EffectsPage pageWithEffects(const QString &html, RuntimeHandle handle = RuntimeHandle::Hidden,
                            Transitions transitions = Transitions::Played);

// The runtime and `program` (a translation's script) as one script: the runtime lives in
// a closure of its own and hands its helpers to the program as its parameter, so that
// nothing the page defines or overwrites on the window decides whether effects run.
QString effectsScript(const QString &program, RuntimeHandle handle = RuntimeHandle::Hidden,
                      Transitions transitions = Transitions::Played);

// pageWithEffects() as the transform the editing surface applies to the page it browses
// and to the effects copy it writes.
PageTransform effectsTransform(RuntimeHandle handle = RuntimeHandle::Hidden,
                               Transitions transitions = Transitions::Played);

// The VBScript blocks of a page and the event attributes to run as VBScript (those of
// elements with LANGUAGE=VBSCRIPT, and those calling a procedure of the blocks).
QList<vbs::ScriptBlock> vbscriptBlocks(const QString &html);
QList<vbs::InlineHandler> vbscriptHandlers(const QString &html, const QStringList &procedures);

} // namespace lumipage
