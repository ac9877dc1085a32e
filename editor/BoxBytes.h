#pragma once

#include "common/CodePage.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace editor {

// Judges a change of an edit box's text from `before` to `text` (UTF-16, as the box holds it;
// `caret` is the caret's place in `text`), for the box of a side's code page that holds at most
// `maxBytes` bytes. Only what was inserted is judged, so that text already there (a value of 17
// or 41 bytes from a file) is left alone:
// - a character the code page lacks but holds a standard equivalent of becomes it (〜 typed or
//   pasted into the Japanese box is ～, French typography's narrow no-break space the no-break
//   space); any other character it can't hold, a half of a surrogate pair included, refuses the
//   change;
// - an insertion that passes the limit is cut from its end at a character boundary, so a
//   typed character past the limit is refused and a paste is cut to fit; a value already over
//   the limit may be edited but never made longer.
// Returns false when the change is refused; otherwise `text` and `caret` are what the box takes.
bool FitBoxInput(mirvel::CodePage codePage, std::size_t maxBytes, std::u16string_view before,
                 std::u16string& text, std::size_t& caret);

// What an edit box gives its record on Renew: `text` is the box's text as UTF-8, `stored` the
// bytes the record holds for that box, `codePage` the box's side.
//
// A box that still shows exactly what its record holds gives the record's own bytes back, so
// a 17- or 41-byte value from a file, or bytes no code page can show, survive an update of the
// other box. Otherwise the text is encoded; the box lets in nothing it can't hold apart from
// the stand-ins of such bytes, which are stored as '?'.
std::string BoxBytes(mirvel::CodePage codePage, std::string_view text, std::string_view stored);

}  // namespace editor
