#include "platform/markup/cssspecificity.h"

#include "platform/markup/cssparser.h"

using namespace Qt::StringLiterals;

namespace lumipage::css
{

namespace
{

Specificity sum(Specificity a, Specificity b)
{
    return {a.ids + b.ids, a.classes + b.classes, a.elements + b.elements};
}

Specificity of(const Sheet &sheet, const QList<ComponentValue> &values);

// The most specific of a comma-separated argument list.
Specificity mostSpecific(const Sheet &sheet, const QList<ComponentValue> &values)
{
    Specificity best;
    QList<ComponentValue> one;
    const auto take = [&] {
        best = std::max(best, of(sheet, one));
        one.clear();
    };
    for (const ComponentValue &v : values) {
        if (sheet.tokens()[v.token].type == TokenType::Comma)
            take();
        else
            one.append(v);
    }
    take();
    return best;
}

bool isLegacyPseudoElement(const QString &name)
{
    const QString n = name.toLower();
    return n == u"before" || n == u"after" || n == u"first-line" || n == u"first-letter";
}

Specificity of(const Sheet &sheet, const QList<ComponentValue> &values)
{
    Specificity s;
    const QList<Token> &t = sheet.tokens();
    for (qsizetype i = 0; i < values.size(); ++i) {
        const Token &token = t[values[i].token];
        const auto next = [&](qsizetype k) -> const Token * {
            return i + k < values.size() ? &t[values[i + k].token] : nullptr;
        };
        switch (token.type) {
        case TokenType::Hash:
            ++s.ids;
            break;
        case TokenType::LeftBracket:
            ++s.classes;
            break;
        case TokenType::Ident:
            ++s.elements;
            break; // an element name
        case TokenType::Delim:
            if (token.value == u"." && next(1) && next(1)->type == TokenType::Ident) {
                ++s.classes;
                ++i;
            }
            break;
        case TokenType::Colon: {
            const Token *after = next(1);
            if (after && after->type == TokenType::Colon) { // ::pseudo-element
                ++s.elements;
                i += 2;
                break;
            }
            if (!after)
                break;
            ++i;
            if (after->type == TokenType::Ident) {
                if (isLegacyPseudoElement(after->value))
                    ++s.elements;
                else
                    ++s.classes;
            } else if (after->type == TokenType::Function) {
                const QString name = after->value.toLower();
                if (name == u"where")
                    break;
                if (name == u"is" || name == u"not" || name == u"has" || name == u"matches" ||
                    name == u"-webkit-any")
                    s = sum(s, mostSpecific(sheet, values[i].children));
                else
                    ++s.classes;
            }
            break;
        }
        default:
            break;
        }
    }
    return s;
}

} // namespace

Specificity specificity(QStringView selector)
{
    const Sheet sheet(selector.toString());
    return of(sheet, sheet.parseComponentValueList());
}

} // namespace lumipage::css
