#pragma once

#include "common/CodePage.h"

#include <string>
#include <string_view>

namespace editor {

// What an edit box gives its record on Renew: `text` is the box's text as UTF-8, `stored` the
// bytes the record holds for that box, `codePage` the box's side.
//
// A box that still shows exactly what its record holds gives the record's own bytes back, so
// a 17- or 41-byte value from a file, or bytes no code page can show, survive an update of the
// other box. Otherwise the text is encoded; the box lets in nothing it can't hold apart from
// the stand-ins of such bytes, which are stored as '?'.
std::string BoxBytes(mirvel::CodePage codePage, std::string_view text, std::string_view stored);

}  // namespace editor
