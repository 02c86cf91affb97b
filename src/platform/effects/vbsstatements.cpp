// Statements: each becomes JavaScript over the runtime helpers; one the translation
// does not know is reported with its line and left out.
#include "platform/effects/vbsparser.h"

namespace lumipage::vbs
{

bool Parser::atTerminator(const QStringList &terminators) const
{
    const QString first = peekKey();
    const QString two = first + u' ' + peekKey(1);
    for (const QString &t : terminators)
        if (t == first || t == two)
            return true;
    return false;
}

QString Parser::block(const QStringList &terminators, QStringList *procedures)
{
    QString out;
    while (!done()) {
        if (atStatementEnd()) {
            nextStatement();
            continue;
        }
        if (atTerminator(terminators))
            return out;
        const int at = line();
        const int startLine = m_line;
        try {
            const int skip =
                peekKey() == QLatin1String("public") || peekKey() == QLatin1String("private");
            const QString k = peekKey(skip);
            if (procedures && (k == QLatin1String("sub") || k == QLatin1String("function"))) {
                if (skip)
                    take();
                procedures->append(procedure());
            } else {
                out += guarded(statement()) + u'\n';
            }
            endOfStatement();
        } catch (const ParseError &e) {
            m_problems.append({e.line ? e.line : at, e.message});
            if (m_line == startLine)
                skipStatement();
        }
    }
    if (!terminators.isEmpty())
        m_problems.append({line(), QStringLiteral("%1 がありません").arg(terminators.first())});
    return out;
}

QString Parser::guarded(const QString &js) const
{
    if (!m_resumeNext || js.isEmpty())
        return js;
    return QStringLiteral("try{%1}catch($e){}").arg(js);
}

QString Parser::statement()
{
    const Token t = peek();
    if (t.kind != Token::Name)
        throw ParseError{t.line, QStringLiteral("%1 を読めません").arg(t.text)};
    const QString &k = t.key;
    if (k == QLatin1String("public") || k == QLatin1String("private")) {
        take();
        if (peekKey() == QLatin1String("sub") || peekKey() == QLatin1String("function"))
            throw ParseError{t.line, QStringLiteral("手続きの中に手続きは置けません")};
        return dimStatement(false);
    }
    if (k == QLatin1String("dim"))
        return take(), dimStatement(false);
    if (k == QLatin1String("const"))
        return take(), dimStatement(true);
    if (k == QLatin1String("if"))
        return ifStatement();
    if (k == QLatin1String("for"))
        return forStatement();
    if (k == QLatin1String("do"))
        return doStatement();
    if (k == QLatin1String("select"))
        return selectStatement();
    if (k == QLatin1String("exit"))
        return exitStatement();
    if (k == QLatin1String("option")) {
        take();
        expect(QStringLiteral("explicit"));
        return {};
    }
    if (k == QLatin1String("on")) {
        take();
        expect(QStringLiteral("error"));
        if (accept(QStringLiteral("resume"))) {
            expect(QStringLiteral("next"));
            m_resumeNext = true;
        } else {
            expect(QStringLiteral("goto"));
            if (peek().text != QLatin1String("0"))
                throw ParseError{t.line, QStringLiteral("On Error GoTo は 0 だけ使えます")};
            take();
            m_resumeNext = false;
        }
        return {};
    }
    if (k == QLatin1String("call")) {
        take();
        return asCall(reference(), {});
    }
    if (k == QLatin1String("set") || k == QLatin1String("let"))
        take();
    static const QSet<QString> unsupported{"with",   "while",    "wend",     "redim",     "erase",
                                           "class",  "property", "goto",     "gosub",     "resume",
                                           "end",    "next",     "loop",     "case",      "else",
                                           "elseif", "sub",      "function", "randomize_"};
    if (unsupported.contains(peekKey()))
        throw ParseError{t.line,
                         QStringLiteral("%1 はこの実行環境では使えません").arg(peek().text)};
    return nameStatement();
}

QString Parser::nameStatement()
{
    Ref ref = reference();
    if (accept(QStringLiteral("="))) {
        if (ref.kind == Ref::Value && ref.js.startsWith(QLatin1String("$.n(\"")))
            ref = resolveName(ref.js.mid(5, ref.js.size() - 7), true);
        return assign(ref, expression()) + u';';
    }
    if (atStatementEnd())
        return asCall(ref, {}) + u';';
    return asCall(ref, argumentsWithoutParens()) + u';';
}

QString Parser::argumentsWithoutParens()
{
    QStringList args;
    for (;;) {
        if (peek().kind == Token::Op && peek().text == QLatin1String(","))
            args.append(QStringLiteral("undefined"));
        else
            args.append(expression());
        if (!accept(QStringLiteral(",")))
            break;
    }
    return args.join(u',');
}

QString Parser::dimStatement(bool isConst)
{
    QString out;
    do {
        const Token name = take();
        if (name.kind != Token::Name)
            throw ParseError{name.line, QStringLiteral("変数名がありません")};
        Ref ref;
        if (m_proc) {
            m_proc->locals.insert(name.key);
            ref = {Ref::Variable, localName(name.key), name.key, {}, {}};
        } else {
            ref = {Ref::Variable, QStringLiteral("$g.") + name.key, name.key, {}, {}};
        }
        if (isConst) {
            expect(QStringLiteral("="));
            out += ref.js + QStringLiteral(" = ") + expression() + u';';
        } else if (peek().kind == Token::Op && peek().text == QLatin1String("(")) {
            take();
            QStringList bounds;
            while (!accept(QStringLiteral(")"))) {
                bounds.append(expression());
                accept(QStringLiteral(","));
            }
            out += QStringLiteral("%1 = $.arr([%2]);").arg(ref.js, bounds.join(u','));
        }
    } while (accept(QStringLiteral(",")));
    return out;
}

QString Parser::procedure()
{
    const Token kind = take();
    const Token name = take();
    if (name.kind != Token::Name)
        throw ParseError{name.line, QStringLiteral("手続きの名前がありません")};
    Procedure proc;
    proc.key = name.key;
    proc.isFunction = kind.key == QLatin1String("function");
    QStringList params;
    if (accept(QStringLiteral("("))) {
        while (!accept(QStringLiteral(")"))) {
            accept(QStringLiteral("byval")) || accept(QStringLiteral("byref"));
            const Token p = take();
            if (p.kind != Token::Name)
                throw ParseError{p.line, QStringLiteral("引数の名前がありません")};
            proc.params.insert(p.key);
            params.append(localName(p.key));
            accept(QStringLiteral("(")) && accept(QStringLiteral(")"));
            accept(QStringLiteral(","));
        }
    }
    endOfStatement();
    nextStatement();
    m_proc = &proc;
    const bool resumeNext = m_resumeNext;
    m_resumeNext = false;
    const QString body = block({proc.isFunction ? "end function" : "end sub"});
    m_resumeNext = resumeNext;
    m_proc = nullptr;
    take();
    take();
    QStringList locals;
    for (const QString &l : std::as_const(proc.locals))
        if (!proc.params.contains(l))
            locals.append(localName(l));
    locals.sort();
    if (proc.isFunction)
        locals.prepend(QStringLiteral("$r"));
    return QStringLiteral("$p.%1 = function (%2) {%3\n%4%5};\n")
        .arg(proc.key, params.join(u','),
             locals.isEmpty() ? QString() : QStringLiteral("var %1;").arg(locals.join(u',')), body,
             proc.isFunction ? QStringLiteral("return $r;\n") : QString());
}

QString Parser::topLevel(QStringList &procedures)
{
    return block({}, &procedures);
}

QString Parser::handler()
{
    Procedure proc;
    m_proc = &proc;
    const QString body = block({});
    m_proc = nullptr;
    QStringList locals;
    for (const QString &l : std::as_const(proc.locals))
        locals.append(localName(l));
    locals.sort();
    return QStringLiteral("function () {%1\n%2}")
        .arg(locals.isEmpty() ? QString() : QStringLiteral("var %1;").arg(locals.join(u',')), body);
}

} // namespace lumipage::vbs
