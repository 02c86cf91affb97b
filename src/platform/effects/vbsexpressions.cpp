// Expressions: every operator goes through a runtime helper, because the language's
// operators convert their operands in their own way (`+` adds numeric strings, `And`
// is bitwise, `True` is -1), and every member access goes through a case-insensitive
// lookup.
#include "platform/effects/vbsparser.h"

namespace lumipage::vbs
{

namespace
{

const QSet<QString> &builtinFunctions()
{
    static const QSet<QString> names{
        QStringLiteral("msgbox"),  QStringLiteral("len"),       QStringLiteral("mid"),
        QStringLiteral("left"),    QStringLiteral("right"),     QStringLiteral("instr"),
        QStringLiteral("lcase"),   QStringLiteral("ucase"),     QStringLiteral("trim"),
        QStringLiteral("ltrim"),   QStringLiteral("rtrim"),     QStringLiteral("cstr"),
        QStringLiteral("cint"),    QStringLiteral("clng"),      QStringLiteral("cdbl"),
        QStringLiteral("int"),     QStringLiteral("fix"),       QStringLiteral("abs"),
        QStringLiteral("rnd"),     QStringLiteral("randomize"), QStringLiteral("isnumeric"),
        QStringLiteral("chr"),     QStringLiteral("asc"),       QStringLiteral("now"),
        QStringLiteral("timer"),   QStringLiteral("ubound"),    QStringLiteral("lbound"),
        QStringLiteral("isempty"), QStringLiteral("round"),     QStringLiteral("sin"),
        QStringLiteral("cos"),     QStringLiteral("sqr"),       QStringLiteral("space"),
        QStringLiteral("replace")};
    return names;
}

const QSet<QString> &builtinConstants()
{
    static const QSet<QString> names{
        QStringLiteral("vbcrlf"),        QStringLiteral("vbcr"),
        QStringLiteral("vblf"),          QStringLiteral("vbtab"),
        QStringLiteral("vbokonly"),      QStringLiteral("vbokcancel"),
        QStringLiteral("vbyesno"),       QStringLiteral("vbyesnocancel"),
        QStringLiteral("vbinformation"), QStringLiteral("vbexclamation"),
        QStringLiteral("vbquestion"),    QStringLiteral("vbcritical"),
        QStringLiteral("vbok"),          QStringLiteral("vbcancel"),
        QStringLiteral("vbyes"),         QStringLiteral("vbno")};
    return names;
}

// Operators by level, lowest binding first; each maps to its runtime helper.
struct BinaryOp {
    const char *op;
    const char *helper;
};
const QList<QList<BinaryOp>> &binaryLevels()
{
    static const QList<QList<BinaryOp>> levels{
        {{"xor", "xor"}},
        {{"or", "or"}},
        {{"and", "and"}},
        {}, // Not, a prefix
        {}, // comparisons, handled on their own
        {{"&", "cat"}},
        {{"+", "add"}, {"-", "sub"}},
        {{"mod", "mod"}},
        {{"\\", "idiv"}},
        {{"*", "mul"}, {"/", "div"}},
    };
    return levels;
}

} // namespace

QStringList tableHelpers()
{
    QStringList names;
    for (const QString &name : builtinFunctions())
        names << QStringLiteral("f.") + name;
    for (const QString &name : builtinConstants())
        names << QStringLiteral("k.") + name;
    for (const QList<BinaryOp> &level : binaryLevels())
        for (const BinaryOp &op : level)
            names << QLatin1String(op.helper);
    return names;
}

QString Parser::expression()
{
    return binaryLevel(0);
}

QString Parser::binaryLevel(int level)
{
    if (level >= binaryLevels().size())
        return unary();
    if (level == 3) {
        if (accept(QStringLiteral("not")))
            return QStringLiteral("$.not(%1)").arg(binaryLevel(3));
        return binaryLevel(4);
    }
    QString left = binaryLevel(level + 1);
    if (level == 4) {
        for (;;) {
            const Token &t = peek();
            if (isComparison(t)) {
                take();
                left =
                    QStringLiteral("$.cmp(%1,%2,\"%3\")").arg(left, binaryLevel(level + 1), t.text);
            } else if (t.kind == Token::Name && t.key == QLatin1String("is")) {
                take();
                left = QStringLiteral("$.is(%1,%2)").arg(left, binaryLevel(level + 1));
            } else {
                return left;
            }
        }
    }
    for (;;) {
        const BinaryOp *found = nullptr;
        for (const BinaryOp &op : binaryLevels()[level])
            if (accept(QLatin1String(op.op)))
                found = &op;
        if (!found)
            return left;
        left = QStringLiteral("$.%1(%2,%3)")
                   .arg(QLatin1String(found->helper), left, binaryLevel(level + 1));
    }
}

QString Parser::unary()
{
    if (accept(QStringLiteral("-")))
        return QStringLiteral("$.neg(%1)").arg(unary());
    if (accept(QStringLiteral("+")))
        return unary();
    return power();
}

QString Parser::power()
{
    QString base = value(reference());
    while (accept(QStringLiteral("^"))) {
        const bool negative = accept(QStringLiteral("-"));
        QString exponent = value(reference());
        if (negative)
            exponent = QStringLiteral("$.neg(%1)").arg(exponent);
        base = QStringLiteral("$.pow(%1,%2)").arg(base, exponent);
    }
    return base;
}

QString Parser::argumentList()
{
    expect(QStringLiteral("("));
    QStringList args;
    if (accept(QStringLiteral(")")))
        return {};
    for (;;) {
        const Token &t = peek();
        if (t.kind == Token::Op && (t.text == QLatin1String(",") || t.text == QLatin1String(")")))
            args.append(QStringLiteral("undefined")); // an argument left out
        else
            args.append(expression());
        if (accept(QStringLiteral(")")))
            break;
        expect(QStringLiteral(","));
    }
    return args.join(u',');
}

Ref Parser::reference()
{
    const Token t = peek();
    Ref ref;
    if (t.kind == Token::Number) {
        take();
        bool ok = false;
        const double v = t.text.toDouble(&ok);
        if (!ok)
            throw ParseError{t.line, QStringLiteral("数値 %1 を読めません").arg(t.text)};
        ref = {Ref::Value, QString::number(v, 'g', 17), {}, {}, {}};
    } else if (t.kind == Token::String) {
        take();
        ref = {Ref::Value, jsString(t.text), {}, {}, {}};
    } else if (t.kind == Token::Op && t.text == QLatin1String("(")) {
        take();
        const QString inner = expression();
        expect(QStringLiteral(")"));
        ref = {Ref::Value, QLatin1Char('(') + inner + QLatin1Char(')'), {}, {}, {}};
    } else if (t.kind == Token::Name) {
        static const QSet<QString> unsupported{
            "new", "eval", "execute", "executeglobal", "getref", "createobject", "getobject"};
        if (unsupported.contains(t.key))
            throw ParseError{t.line, QStringLiteral("%1 は使えません").arg(t.text)};
        take();
        const bool called = peek().kind == Token::Op && peek().text == QLatin1String("(");
        ref = resolveName(t.key, false);
        if (called && m_proc && m_proc->isFunction && t.key == m_proc->key)
            ref = {Ref::Procedure, {}, t.key, {}, {}}; // recursion, not the result
        if (called) {
            const QString args = argumentList();
            switch (ref.kind) {
            case Ref::Procedure:
                ref = {Ref::Value, QStringLiteral("$p.%1(%2)").arg(t.key, args), {}, {}, {}};
                break;
            case Ref::Value:
                if (ref.key.isEmpty() || !builtinFunctions().contains(ref.key))
                    ref = {Ref::NameCall, {}, t.key, args, ref.js};
                else
                    ref = {Ref::Value, QStringLiteral("$.f.%1(%2)").arg(t.key, args), {}, {}, {}};
                break;
            default:
                ref = {Ref::NameCall, {}, t.key, args, value(ref)};
            }
        }
    } else {
        throw ParseError{t.line, t.kind == Token::End
                                     ? QStringLiteral("式がありません")
                                     : QStringLiteral("%1 を読めません").arg(t.text)};
    }
    for (;;) {
        if (accept(QStringLiteral("."))) {
            const Token member = take();
            if (member.kind != Token::Name)
                throw ParseError{member.line, QStringLiteral(". の後に名前がありません")};
            const QString object = value(ref);
            if (peek().kind == Token::Op && peek().text == QLatin1String("("))
                ref = {Ref::MemberCall, object, member.key, argumentList(), {}};
            else
                ref = {Ref::Member, object, member.key, {}, {}};
        } else if (peek().kind == Token::Op && peek().text == QLatin1String("(") &&
                   ref.kind != Ref::Value) {
            ref = {Ref::NameCall, {}, {}, argumentList(), value(ref)};
        } else {
            return ref;
        }
    }
}

Ref Parser::resolveName(const QString &key, bool assigned)
{
    if (m_proc) {
        if (m_proc->params.contains(key) || m_proc->locals.contains(key))
            return {Ref::Variable, localName(key), key, {}, {}};
        if (m_proc->isFunction && key == m_proc->key)
            return {Ref::Variable, QStringLiteral("$r"), key, {}, {}};
    }
    if (m_names.globals.contains(key))
        return {Ref::Variable, QStringLiteral("$g.") + key, key, {}, {}};
    if (m_names.procedures.contains(key))
        return {Ref::Procedure, {}, key, {}, {}};
    if (key == QLatin1String("true") || key == QLatin1String("false"))
        return {Ref::Value, key, {}, {}, {}};
    if (key == QLatin1String("nothing") || key == QLatin1String("null"))
        return {Ref::Value, QStringLiteral("null"), {}, {}, {}};
    if (key == QLatin1String("empty"))
        return {Ref::Value, QStringLiteral("undefined"), {}, {}, {}};
    if (builtinConstants().contains(key))
        return {Ref::Value, QStringLiteral("$.k.") + key, {}, {}, {}};
    if (builtinFunctions().contains(key))
        return {Ref::Value, QStringLiteral("$.f.%1()").arg(key), key, {}, {}};
    if (key == QLatin1String("me"))
        return {Ref::Value, QStringLiteral("$.me(this)"), {}, {}, {}};
    if (key == QLatin1String("window") || key == QLatin1String("document"))
        return {Ref::Value, key, {}, {}, {}};
    if (assigned) {
        if (m_proc) {
            m_proc->locals.insert(key);
            return {Ref::Variable, localName(key), key, {}, {}};
        }
        return {Ref::Variable, QStringLiteral("$g.") + key, key, {}, {}};
    }
    // Not a name of the script: an element id, a window member or a procedure of
    // another script, looked up when the code runs.
    return {Ref::Value, QStringLiteral("$.n(\"%1\")").arg(key), {}, {}, {}};
}

QString Parser::value(const Ref &ref) const
{
    switch (ref.kind) {
    case Ref::Value:
    case Ref::Variable:
        return ref.js;
    case Ref::Member:
        return QStringLiteral("$.g(%1,\"%2\")").arg(ref.js, ref.key);
    case Ref::MemberCall:
        return QStringLiteral("$.c(%1,\"%2\",[%3])").arg(ref.js, ref.key, ref.args);
    case Ref::NameCall:
        return QStringLiteral("$.ix(%1,[%2])").arg(ref.callee, ref.args);
    case Ref::Procedure:
        return QStringLiteral("$p.%1()").arg(ref.key);
    }
    return {};
}

QString Parser::asCall(const Ref &ref, const QString &args) const
{
    switch (ref.kind) {
    case Ref::Member:
        return QStringLiteral("$.c(%1,\"%2\",[%3])").arg(ref.js, ref.key, args);
    case Ref::Procedure:
        return QStringLiteral("$p.%1(%2)").arg(ref.key, args);
    case Ref::Value:
        if (!ref.key.isEmpty())
            return QStringLiteral("$.f.%1(%2)").arg(ref.key, args);
        if (ref.js.startsWith(QLatin1String("$.n(")))
            return QStringLiteral("$.callName(%1,[%2])")
                .arg(ref.js.mid(4, ref.js.size() - 5), args);
        break;
    case Ref::Variable:
        if (args.isEmpty())
            return QStringLiteral("$.callValue(%1)").arg(ref.js);
        break;
    default:
        break;
    }
    if (!args.isEmpty())
        return QStringLiteral("$.ix(%1,[%2])").arg(value(ref), args);
    return value(ref);
}

QString Parser::assign(const Ref &ref, const QString &v)
{
    switch (ref.kind) {
    case Ref::Variable:
        return QStringLiteral("%1 = %2").arg(ref.js, v);
    case Ref::Member:
        return QStringLiteral("$.s(%1,\"%2\",%3)").arg(ref.js, ref.key, v);
    case Ref::MemberCall:
        return QStringLiteral("$.si($.g(%1,\"%2\"),[%3],%4)").arg(ref.js, ref.key, ref.args, v);
    case Ref::NameCall:
        return QStringLiteral("$.si(%1,[%2],%3)").arg(ref.callee, ref.args, v);
    default:
        break;
    }
    throw ParseError{line(), QStringLiteral("代入できない左辺です")};
}

} // namespace lumipage::vbs
