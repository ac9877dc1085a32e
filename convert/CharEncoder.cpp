#include "CharEncoder.h"

#include "Utf8.h"

namespace mirvel::convert {
namespace {

enum : unsigned char { Unknown, Mapped, Unmapped };

}  // namespace

CharEncoder::CharEncoder(CodePage codePage) : codePage_(codePage), table_(0x10000) {}

bool CharEncoder::Append(char32_t c, std::string& out)
{
    if (IsEscape(c) || (c >= 0xD800 && c <= 0xDFFF) || c > 0xFFFF) return false;
    Entry& entry = table_[c];
    if (entry.state == Unknown) {
        std::string utf8;
        AppendUtf8(utf8, c);
        const auto bytes = EncodeFromUtf8(codePage_, utf8);
        if (bytes && !bytes->empty() && bytes->size() <= sizeof entry.bytes) {
            entry.state = Mapped;
            entry.length = static_cast<unsigned char>(bytes->size());
            for (std::size_t i = 0; i < bytes->size(); ++i) entry.bytes[i] = (*bytes)[i];
        } else {
            entry.state = Unmapped;
        }
    }
    if (entry.state != Mapped) return false;
    out.append(entry.bytes, entry.length);
    return true;
}

void EncodeField(CharEncoder& encoder, std::string_view text, std::size_t limit, EncodedField& out)
{
    out.bytes.clear();
    out.unmapped.clear();
    out.fitBytes = 0;
    out.fitTextLength = 0;
    bool fits = true;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const char32_t c = NextChar(text, at);
        if (!encoder.Append(c, out.bytes)) {
            out.unmapped.emplace_back(start, c);
            continue;
        }
        // A character that would cross the limit ends the run, so a cut never splits one.
        if (fits && out.bytes.size() <= limit) {
            out.fitBytes = out.bytes.size();
            out.fitTextLength = at;
        } else {
            fits = false;
        }
    }
}

}  // namespace mirvel::convert
