#pragma once

#include <string>
#include <string_view>

namespace mirvel::convert {

// A field of an Anki export written with "#html:true", as the text a card shows:
// - tags are removed; <br> and block boundaries (div, p, li, tr, td, h1, ...) are a space, as
//   are images and [sound:...] references, which are dropped;
// - character references are decoded: &amp; &lt; &gt; &quot; &apos; &#NNN; &#xHH; and every
//   character of Windows-1252 by its HTML name (&eacute;, &oelig;, &euro;, &rsquo;, ...);
//   &nbsp; (also as &#160;) and the named wide and thin spaces are plain spaces;
// - HTML's white space (space, tab, CR, LF, FF) runs become one space and the ends are trimmed.
// What isn't markup stays text, so that a hand-made file loses nothing: a '<' not followed by a
// letter, '/', '!' or '?' ("a < b"), a tag with no '>' after it, a reference without its ';',
// an unknown name, and a number that is no character (NUL, a surrogate, beyond U+10FFFF).
// A quoted attribute value may hold '>' (<span title="a>b">); a quote never closed is taken as
// a plain character from there on. Linear in the field's length whatever it holds. The result
// is valid UTF-8 when the field is.
std::string HtmlFieldText(std::string_view utf8);

// The same into `out` (replacing what it held), so that a large import reuses one buffer.
void HtmlFieldTextInto(std::string_view utf8, std::string& out);

// Whether HtmlFieldText would change the field: false for a field without '<', '&', "[sound:",
// white space other than single spaces between words, so that the caller can take it as it is.
bool NeedsHtmlDecoding(std::string_view utf8);

}  // namespace mirvel::convert
