#include "platform/effects/vbstranslator.h"

#include "platform/effects/vbsparser.h"

namespace lumipage::vbs
{

namespace
{

// Top-level variables and procedures of all blocks: a procedure may use a global
// declared further down or in a later block, as in the page.
void collectNames(const QList<Line> &lines, PageNames &names)
{
    bool inside = false;
    for (const Line &l : lines) {
        bool statementStart = true;
        for (int i = 0; i < l.tokens.size(); ++i) {
            const Token &t = l.tokens[i];
            if (t.kind == Token::Colon) {
                statementStart = true;
                continue;
            }
            if (!statementStart)
                continue;
            statementStart = false;
            if (t.kind != Token::Name)
                continue;
            int k = i;
            if (t.key == QLatin1String("public") || t.key == QLatin1String("private"))
                ++k;
            const QString key = k < l.tokens.size() ? l.tokens[k].key : QString();
            const auto next = [&](int at) { return at < l.tokens.size() ? l.tokens[at] : Token{}; };
            if (key == QLatin1String("end") && (next(k + 1).key == QLatin1String("sub") ||
                                                next(k + 1).key == QLatin1String("function"))) {
                inside = false;
            } else if (key == QLatin1String("sub") || key == QLatin1String("function")) {
                if (next(k + 1).kind == Token::Name)
                    names.procedures.insert(next(k + 1).key);
                inside = true;
            } else if (inside) {
                continue;
            } else if (key == QLatin1String("dim") || key == QLatin1String("const") || k > i) {
                // Every name after the keyword at bracket depth 0 that starts an item.
                int depth = 0;
                bool expectName = true;
                for (int j = (k > i && key != QLatin1String("dim") && key != QLatin1String("const"))
                                 ? k
                                 : k + 1;
                     j < l.tokens.size() && l.tokens[j].kind != Token::Colon; ++j) {
                    const Token &n = l.tokens[j];
                    if (n.text == QLatin1String("("))
                        ++depth;
                    else if (n.text == QLatin1String(")"))
                        --depth;
                    else if (depth == 0 && n.text == QLatin1String(","))
                        expectName = true;
                    else if (expectName && n.kind == Token::Name) {
                        names.globals.insert(n.key);
                        expectName = false;
                    } else if (depth == 0)
                        expectName = false;
                }
            } else {
                // `x = …`, `Set x = …`, `For x = …`: an implicit global.
                int j = i;
                if (t.key == QLatin1String("set") || t.key == QLatin1String("for"))
                    ++j;
                if (next(j).kind == Token::Name && next(j + 1).text == QLatin1String("=") &&
                    next(j + 1).kind == Token::Op)
                    names.globals.insert(next(j).key);
            }
        }
    }
}

} // namespace

QStringList procedureNames(const QList<ScriptBlock> &blocks)
{
    PageNames names;
    for (const ScriptBlock &b : blocks)
        collectNames(tokenize(b.text, b.firstLine), names);
    QStringList list(names.procedures.cbegin(), names.procedures.cend());
    list.sort();
    return list;
}

QString jsString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += u'\\';
            out += c;
        } else if (u < 0x20 || u == u'<' || u == 0x2028 || u == 0x2029) {
            // `<` too, so that "</script>" or "<!--" in a string cannot end the element.
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += u'"';
    return out;
}

Translation translate(const QList<ScriptBlock> &blocks, const QList<InlineHandler> &handlers)
{
    Translation result;
    QList<QList<Line>> lines;
    PageNames names;
    for (const ScriptBlock &b : blocks) {
        lines.append(tokenize(b.text, b.firstLine));
        collectNames(lines.last(), names);
    }
    QStringList procedures, topLevel;
    for (const QList<Line> &l : std::as_const(lines)) {
        Parser parser(l, names, result.problems);
        topLevel.append(parser.topLevel(procedures));
    }
    QStringList bound;
    for (const InlineHandler &h : handlers) {
        const QList<Line> l = tokenize(h.source, h.line);
        Parser parser(l, names, result.problems);
        bound.append(QStringLiteral("[%1,%2,%3]")
                         .arg(jsString(h.event), jsString(h.source), parser.handler()));
    }
    QStringList problems;
    for (const Problem &p : std::as_const(result.problems))
        problems.append(QStringLiteral("[%1,%2]").arg(p.line).arg(jsString(p.message)));

    QString &js = result.script;
    js = QStringLiteral("(function ($) {\nvar $g = $.globals, $p = $.procs;\n");
    if (!problems.isEmpty())
        js += QStringLiteral("$.problems([%1]);\n").arg(problems.join(u','));
    js += procedures.join(QString());
    for (const QString &code : std::as_const(topLevel))
        if (!code.trimmed().isEmpty())
            js += QStringLiteral("$.block(function () {\n%1});\n").arg(code);
    if (!bound.isEmpty())
        js += QStringLiteral("$.handlers([%1]);\n").arg(bound.join(QStringLiteral(",\n")));
    js += QStringLiteral("$.ready();\n})");
    return result;
}

} // namespace lumipage::vbs
