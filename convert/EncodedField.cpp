#include "convert/EncodedField.h"

#include "convert/TextEncoding.h"

#include <cstring>

namespace mirvel::convert {
namespace {

// Eight bytes of ASCII that is its own byte in both code pages: none above DEL nor below a
// space, which is most of a French field.
bool IsPlainAsciiWord(const char* bytes)
{
    constexpr std::uint64_t Ones = 0x0101010101010101ULL;
    constexpr std::uint64_t Highs = 0x8080808080808080ULL;
    std::uint64_t word;
    std::memcpy(&word, bytes, 8);
    const std::uint64_t del = word ^ (Ones * 0x7F);
    const std::uint64_t controls = ((word - Ones * 0x20) & ~word) | ((del - Ones) & ~del);
    return ((word | controls) & Highs) == 0;
}

// The character's bytes, or its standard equivalent's (`equivalent` then set); 0 for neither.
std::size_t EncodeOrEquivalent(CodePage codePage, char32_t c, char* out, bool& equivalent)
{
    if (const std::size_t length = EncodeChar(codePage, c, out)) return length;
    const char32_t standard = StandardEquivalent(codePage, c);
    equivalent = standard != 0;
    return equivalent ? EncodeChar(codePage, standard, out) : 0;
}

}  // namespace

void EncodeField(CodePage codePage, std::string_view text, std::size_t limit, EncodedField& out)
{
    out.buffer.resize(limit + 8);
    out.unmapped.clear();
    out.controls.clear();
    out.equivalents.clear();
    const auto list = [&](std::vector<std::pair<std::size_t, char32_t>>& listed, std::size_t at, char32_t c) {
        if (listed.size() < EncodedField::ListedLimit) listed.emplace_back(at, c);
    };
    // The bytes are kept up to a little past the limit, where a record's end may lie; past that
    // they go to a scratch place and are only counted.
    char* const buffer = out.buffer.data();
    const std::size_t room = out.buffer.size();
    std::size_t written = 0;
    char scratch[8];
    for (std::size_t at = 0; at < text.size();) {
        char* const to = written + 8 <= room ? buffer + written : scratch;
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x20 && byte < 0x7F) {
            const std::size_t run = text.size() - at >= 8 && IsPlainAsciiWord(text.data() + at) ? 8 : 1;
            std::memcpy(to, text.data() + at, run);
            at += run;
            written += run;
            continue;
        }
        const std::size_t start = at;
        const char32_t c = NextUtf8(text, at);
        if (IsControlCharacter(c)) {
            list(out.controls, start, c);
            continue;
        }
        bool equivalent = false;
        const std::size_t length = EncodeOrEquivalent(codePage, c, to, equivalent);
        if (length == 0) {
            list(out.unmapped, start, c);
            continue;
        }
        written += length;
        if (!equivalent) continue;
        auto& equivalents = out.equivalents;
        const auto known = std::find_if(equivalents.begin(), equivalents.end(),
                                        [c](const EncodedField::Equivalent& e) { return e.character == c; });
        if (known != equivalents.end())
            ++known->count;
        else
            equivalents.push_back({start, c, 1});
    }
    out.length = written;
    out.fitBytes = written;
    out.fitTextLength = text.size();
    if (written <= limit) return;
    // The whole characters from the start that fit, so that a cut never splits one.
    out.fitBytes = 0;
    for (std::size_t fit = 0; fit < text.size();) {
        std::size_t next = fit;
        char bytes[2];
        bool equivalent = false;
        const std::size_t length = EncodeOrEquivalent(codePage, NextUtf8(text, next), bytes, equivalent);
        if (out.fitBytes + length > limit) break;
        out.fitBytes += length;
        out.fitTextLength = fit = next;
    }
}

}  // namespace mirvel::convert
