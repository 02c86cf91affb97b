#pragma once

#include "platform/effects/vbslexer.h"
#include "platform/effects/vbstranslator.h"

#include <QSet>
#include <QStringList>

namespace lumipage::vbs
{

// Raised for a construct the translation does not know; the statement is dropped.
struct ParseError {
    int line;
    QString message;
};

// The names the whole page knows, collected before any code is translated.
struct PageNames {
    QSet<QString> globals;
    QSet<QString> procedures;
};

// A reference being parsed: a variable, a member, a call or a finished value. Whether
// it is read, called as a statement or assigned is decided by what follows it.
struct Ref {
    enum Kind { Value, Variable, Member, MemberCall, NameCall, Procedure };
    Kind kind = Value;
    QString js;     // Value/Variable: the expression; Member*: the object
    QString key;    // Member*, Procedure, NameCall: the lower-case name
    QString args;   // MemberCall, NameCall: the argument list
    QString callee; // NameCall: what is called or indexed
};

// Recursive-descent translator over the logical lines of one block or handler.
class Parser
{
public:
    Parser(const QList<Line> &lines, const PageNames &names, QList<Problem> &problems);

    // Top-level code, with procedures collected into `procedures` on the way.
    QString topLevel(QStringList &procedures);
    // The body of an inline handler, as a function expression.
    QString handler();

private:
    struct Procedure {
        QString key;
        bool isFunction = false;
        QSet<QString> params;
        QSet<QString> locals;
    };
    struct Loop {
        QString kind; // "for" or "do"
        QString label;
    };

    // Cursor.
    const Token &peek(int ahead = 0) const;
    QString peekKey(int ahead = 0) const;
    bool atStatementEnd() const;
    bool atLineEnd() const;
    Token take();
    bool accept(const QString &keyOrOp);
    void expect(const QString &keyOrOp);
    void skipStatement();
    bool nextStatement();
    bool done() const { return m_line >= m_lines.size(); }
    int line() const;

    // Statements (vbsstatements.cpp).
    // Statements up to one of `terminators`; with `procedures`, top-level code, whose
    // procedures are collected there.
    QString block(const QStringList &terminators, QStringList *procedures = nullptr);
    bool atTerminator(const QStringList &terminators) const;
    QString statement();
    QString guarded(const QString &js) const;
    QString procedure();
    QString ifStatement();
    QString singleLineStatements(bool stopAtElse);
    QString forStatement();
    QString doStatement();
    QString selectStatement();
    QString exitStatement();
    QString dimStatement(bool isConst);
    QString nameStatement();
    QString argumentsWithoutParens();
    void endOfStatement();
    QString temp(const QString &prefix);

    // Expressions (vbsexpressions.cpp).
    QString expression();
    QString binaryLevel(int level);
    QString unary();
    QString power();
    Ref reference();
    QString argumentList();
    Ref resolveName(const QString &key, bool assigned);
    QString value(const Ref &ref) const;
    QString asCall(const Ref &ref, const QString &args) const;
    QString assign(const Ref &ref, const QString &value);

    const QList<Line> &m_lines;
    const PageNames &m_names;
    QList<Problem> &m_problems;
    int m_line = 0;
    int m_pos = 0;
    Procedure *m_proc = nullptr;
    QList<Loop> m_loops;
    bool m_resumeNext = false;
    int m_temps = 0;
};

// Whether `t` is one of the comparison operators.
inline bool isComparison(const Token &t)
{
    static const QStringList ops{"=", "<>", "<", ">", "<=", ">="};
    return t.kind == Token::Op && ops.contains(t.text);
}

// The JavaScript name of a local variable.
inline QString localName(const QString &key)
{
    return QStringLiteral("v_") + key;
}

} // namespace lumipage::vbs
