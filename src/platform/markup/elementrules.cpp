#include "platform/markup/elementrules.h"

namespace lumipage::documentform
{

Kind kindOf(QStringView n)
{
    switch (n.size()) {
    case 2:
        return is(n, u"br") || is(n, u"hr") ? Void : Plain;
    case 3:
        return is(n, u"img") || is(n, u"col") || is(n, u"wbr") ? Void
               : is(n, u"pre")                                 ? LeadingNewline
               : is(n, u"xmp")                                 ? RawText
                                                               : Plain;
    case 4:
        return is(n, u"link") || is(n, u"meta") || is(n, u"area") || is(n, u"base") ? Void : Plain;
    case 5:
        return is(n, u"input") || is(n, u"embed") || is(n, u"param") || is(n, u"track") ||
                       is(n, u"frame")
                   ? Void
               : is(n, u"style") ? RawText
                                 : Plain;
    case 6:
        return is(n, u"source") || is(n, u"keygen")   ? Void
               : is(n, u"script") || is(n, u"iframe") ? RawText
                                                      : Plain;
    case 7:
        return is(n, u"bgsound")   ? Void
               : is(n, u"noembed") ? RawText
               : is(n, u"listing") ? LeadingNewline
                                   : Plain;
    case 8:
        return is(n, u"basefont")   ? Void
               : is(n, u"noframes") ? RawText
               : is(n, u"textarea") ? LeadingNewline
                                    : Plain;
    case 9:
        return is(n, u"plaintext") ? RawText : Plain;
    default:
        return Plain;
    }
}

Ns childNs(Ns parentNs, Children rule, QStringView name)
{
    switch (rule) {
    case Children::Foreign:
        return parentNs;
    case Children::Annotation:
        return is(name, u"svg") ? Ns::Svg : Ns::MathMl;
    case Children::MathText:
        if (is(name, u"mglyph") || is(name, u"malignmark"))
            return Ns::MathMl;
        [[fallthrough]];
    case Children::Html:
        break;
    }
    return is(name, u"svg") ? Ns::Svg : is(name, u"math") ? Ns::MathMl : Ns::Html;
}

Children childrenOf(Ns ns, QStringView name, bool htmlAnnotation)
{
    if (ns == Ns::Html)
        return Children::Html;
    if (ns == Ns::Svg)
        return is(name, u"foreignObject") || is(name, u"desc") || is(name, u"title")
                   ? Children::Html
                   : Children::Foreign;
    if (is(name, u"mi") || is(name, u"mo") || is(name, u"mn") || is(name, u"ms") ||
        is(name, u"mtext"))
        return Children::MathText;
    if (is(name, u"annotation-xml"))
        return htmlAnnotation ? Children::Html : Children::Annotation;
    return Children::Foreign;
}

} // namespace lumipage::documentform
