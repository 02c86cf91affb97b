#pragma once

// Where a form closed by its end tag ends, which the parser does not record.

#include <gumbo.h>

#include <QByteArray>

#include <map>
#include <string>

namespace lumipage
{

// gumbo takes a form off its stack of open elements at `</form>` without closing it as
// it closes other elements: the form keeps no end position, and text right before its
// end tag is not put into the form but at the start of the text that follows it. The
// engine keeps that text in the form. FormEnds finds, from the bytes the parser read,
// where such a form ends and how much of the following text is its own.
class FormEnds
{
public:
    explicit FormEnds(const QByteArray &parsed) : m_parsed(parsed) {}

    struct End {
        unsigned endTag = 0, endTagLength = 0; // `</form …>` in the parsed bytes
        std::string ownText;                   // the form's last text, read after it
    };
    // The end of `form` (an HTML FORM element) when the parser left it without one and its
    // end tag could be found; nullptr otherwise. Call it before the text after the form is
    // written: that text then gives up the part the form owns (skipOf).
    const End *of(const GumboNode *form);
    // How many bytes at the start of the text node `text` belong to the form before it.
    size_t skipOf(const GumboNode *text) const;
    // Where the text node `text` starts in the parsed bytes, past what the form owns.
    unsigned startOf(const GumboNode *text) const;

private:
    const QByteArray &m_parsed;
    std::map<const GumboNode *, End> m_ends;
    std::map<const GumboNode *, std::pair<size_t, unsigned>> m_skips; // bytes, new start
};

} // namespace lumipage
