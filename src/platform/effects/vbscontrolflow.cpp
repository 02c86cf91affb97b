// Control-flow statements: If (block and one-line), For and For Each, Do loops,
// Select Case and Exit, each turned into the JavaScript statement it stands for.
#include "platform/effects/vbsparser.h"

namespace lumipage::vbs
{

QString Parser::ifStatement()
{
    take();
    const QString condition = expression();
    expect(QStringLiteral("then"));
    if (!atLineEnd()) {
        // One line: everything after Then on this line belongs to the If.
        if (m_lines[m_line].tokens[m_pos].kind == Token::Colon)
            ++m_pos;
        QString out =
            QStringLiteral("if ($.tr(%1)) {%2}").arg(condition, singleLineStatements(true));
        if (accept(QStringLiteral("else")))
            out += QStringLiteral(" else {%1}").arg(singleLineStatements(false));
        if (accept(QStringLiteral("end")))
            expect(QStringLiteral("if"));
        return out;
    }
    QString out = QStringLiteral("if ($.tr(%1)) {\n%2}").arg(condition, [&] {
        nextStatement();
        return block({"elseif", "else", "end if"});
    }());
    for (;;) {
        if (accept(QStringLiteral("elseif"))) {
            const QString c = expression();
            expect(QStringLiteral("then"));
            nextStatement();
            out += QStringLiteral(" else if ($.tr(%1)) {\n%2}")
                       .arg(c, block({"elseif", "else", "end if"}));
        } else if (accept(QStringLiteral("else"))) {
            nextStatement();
            out += QStringLiteral(" else {\n%1}").arg(block({"end if"}));
        } else {
            expect(QStringLiteral("end"));
            expect(QStringLiteral("if"));
            return out;
        }
    }
}

// Statements up to the end of the line (or an Else there), for a one-line If.
QString Parser::singleLineStatements(bool stopAtElse)
{
    QString out;
    for (;;) {
        if (stopAtElse && peekKey() == QLatin1String("else"))
            return out;
        if (peekKey() == QLatin1String("end") && peekKey(1) == QLatin1String("if"))
            return out;
        if (!atStatementEnd()) {
            out += guarded(statement());
            if (stopAtElse && peekKey() == QLatin1String("else"))
                return out;
            endOfStatement();
        }
        if (atLineEnd() || m_lines[m_line].tokens[m_pos].kind != Token::Colon)
            return out;
        ++m_pos;
    }
}

QString Parser::forStatement()
{
    take();
    const QString label = temp(QStringLiteral("L"));
    const bool each = accept(QStringLiteral("each"));
    const Token name = take();
    if (name.kind != Token::Name)
        throw ParseError{name.line, QStringLiteral("変数名がありません")};
    const Ref var = resolveName(name.key, true);
    if (var.kind != Ref::Variable)
        throw ParseError{name.line, QStringLiteral("%1 は変数ではありません").arg(name.text)};
    QString from, to, step;
    if (each) {
        expect(QStringLiteral("in"));
        from = expression();
    } else {
        expect(QStringLiteral("="));
        from = expression();
        expect(QStringLiteral("to"));
        to = expression();
        step = accept(QStringLiteral("step")) ? expression() : QStringLiteral("1");
    }
    // The body, up to its Next (and the variable named after it).
    m_loops.append({QStringLiteral("for"), label});
    nextStatement();
    const QString body = block({"next"});
    m_loops.removeLast();
    take();
    if (peek().kind == Token::Name)
        take();
    if (each) {
        const QString item = temp(QStringLiteral("$i"));
        return QStringLiteral("%1: for (const %2 of $.each(%3)) {%4;\n%5}")
            .arg(label, item, from, assign(var, item), body);
    }
    const QString end = temp(QStringLiteral("$e")), by = temp(QStringLiteral("$s"));
    return QStringLiteral(
               "{const %1 = $.num(%2), %3 = $.num(%4);\n"
               "%5: for (%6 = $.num(%7); %3 >= 0 ? %6 <= %1 : %6 >= %1; %6 = $.num(%6) + %3) {\n"
               "%8}}")
        .arg(end, to, by, step, label, var.js, from, body);
}

QString Parser::doStatement()
{
    take();
    const QString label = temp(QStringLiteral("L"));
    QString pre;
    if (accept(QStringLiteral("while")))
        pre = QStringLiteral("$.tr(%1)").arg(expression());
    else if (accept(QStringLiteral("until")))
        pre = QStringLiteral("!$.tr(%1)").arg(expression());
    m_loops.append({QStringLiteral("do"), label});
    nextStatement();
    const QString body = block({"loop"});
    m_loops.removeLast();
    take();
    QString post;
    if (accept(QStringLiteral("while")))
        post = QStringLiteral("$.tr(%1)").arg(expression());
    else if (accept(QStringLiteral("until")))
        post = QStringLiteral("!$.tr(%1)").arg(expression());
    if (!pre.isEmpty() && !post.isEmpty())
        throw ParseError{line(), QStringLiteral("Do と Loop の両方に条件があります")};
    if (!post.isEmpty())
        return QStringLiteral("%1: do {\n%2} while (%3);").arg(label, body, post);
    return QStringLiteral("%1: while (%2) {\n%3}")
        .arg(label, pre.isEmpty() ? QStringLiteral("true") : pre, body);
}

QString Parser::selectStatement()
{
    take();
    expect(QStringLiteral("case"));
    const QString subject = temp(QStringLiteral("$c"));
    QString out = QStringLiteral("{const %1 = %2;\n").arg(subject, expression());
    nextStatement();
    bool first = true;
    for (;;) {
        block({"case", "end select"});
        if (!accept(QStringLiteral("case"))) {
            expect(QStringLiteral("end"));
            expect(QStringLiteral("select"));
            return out + u'}';
        }
        if (accept(QStringLiteral("else"))) {
            nextStatement();
            out += QStringLiteral("%1{\n%2}")
                       .arg(first ? QString() : QStringLiteral(" else "), block({"end select"}));
            expect(QStringLiteral("end"));
            expect(QStringLiteral("select"));
            return out + u'}';
        }
        QStringList tests;
        do {
            if (accept(QStringLiteral("is"))) { // Case Is > 5
                const Token op = take();
                if (!isComparison(op))
                    throw ParseError{op.line, QStringLiteral("Case Is の後に比較がありません")};
                tests.append(
                    QStringLiteral("$.cmp(%1,%2,\"%3\")").arg(subject, expression(), op.text));
                continue;
            }
            const QString a = expression();
            if (accept(QStringLiteral("to")))
                tests.append(QStringLiteral("($.cmp(%1,%2,\">=\") && $.cmp(%1,%3,\"<=\"))")
                                 .arg(subject, a, expression()));
            else
                tests.append(QStringLiteral("$.cmp(%1,%2,\"=\")").arg(subject, a));
        } while (accept(QStringLiteral(",")));
        nextStatement();
        out += QStringLiteral("%1if (%2) {\n%3}")
                   .arg(first ? QString() : QStringLiteral(" else "),
                        tests.join(QStringLiteral(" || ")), block({"case", "end select"}));
        first = false;
    }
}

QString Parser::exitStatement()
{
    const int at = take().line;
    const QString what = take().key;
    if (what == QLatin1String("sub") || what == QLatin1String("function")) {
        if (!m_proc)
            throw ParseError{at, QStringLiteral("手続きの外で Exit %1 は使えません").arg(what)};
        return m_proc->isFunction ? QStringLiteral("return $r;") : QStringLiteral("return;");
    }
    if (what == QLatin1String("for") || what == QLatin1String("do")) {
        for (auto it = m_loops.crbegin(); it != m_loops.crend(); ++it)
            if (it->kind == what)
                return QStringLiteral("break %1;").arg(it->label);
        throw ParseError{at, QStringLiteral("Exit %1 がループの外にあります").arg(what)};
    }
    throw ParseError{at, QStringLiteral("Exit の後が読めません")};
}

} // namespace lumipage::vbs
