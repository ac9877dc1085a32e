#include "convert/EncodedField.h"

#include "convert/Utf8.h"

#include <cstring>

namespace mirvel::convert {
namespace {

// The usual field: every character held and the whole within the limit, so that there is no
// cut to plan and nothing to report. False, with `out` to be redone, for anything else.
bool EncodeWholeField(CodePage codePage, std::string_view text, std::size_t limit, EncodedField& out)
{
    char* const begin = out.buffer.data();
    char* end = begin;
    constexpr std::uint64_t Ones = 0x0101010101010101ULL;
    constexpr std::uint64_t Highs = 0x8080808080808080ULL;
    for (std::size_t at = 0; at < text.size();) {
        if (static_cast<std::size_t>(end - begin) > limit) return false;
        const auto first = static_cast<unsigned char>(text[at]);
        if (first < 0x80) {
            // Eight ASCII bytes at once, none below a space nor DEL; the buffer has room for
            // eight past the limit.
            if (text.size() - at >= 8) {
                std::uint64_t word;
                std::memcpy(&word, text.data() + at, 8);
                const std::uint64_t del = word ^ (Ones * 0x7F);
                const std::uint64_t controls = ((word - Ones * 0x20) & ~word) | ((del - Ones) & ~del);
                if (((word | controls) & Highs) == 0) {
                    std::memcpy(end, &word, 8);
                    end += 8;
                    at += 8;
                    continue;
                }
            }
            if (static_cast<unsigned char>(first - 0x20) >= 0x5F && IsControlCharacter(first)) return false;
            *end++ = static_cast<char>(first);
            ++at;
            continue;
        }
        const char32_t c = NextChar(text, at);
        const std::size_t length = EncodeChar(codePage, c, end);
        if (length == 0) return false;
        end += length;
    }
    const auto written = static_cast<std::size_t>(end - begin);
    if (written > limit) return false;
    out.length = written;
    out.fitBytes = written;
    out.fitTextLength = text.size();
    return true;
}

}  // namespace

void EncodeField(CodePage codePage, std::string_view text, std::size_t limit, EncodedField& out)
{
    // The bytes are kept up to a little past the limit, where a record's end may lie; past
    // that they are only counted.
    out.buffer.resize(limit + 8);
    out.unmapped.clear();
    out.controls.clear();
    out.equivalents.clear();
    out.moreUnfit = false;
    const auto list = [&](std::vector<std::pair<std::size_t, char32_t>>& listed, std::size_t at, char32_t c) {
        if (listed.size() < EncodedField::ListedLimit)
            listed.emplace_back(at, c);
        else
            out.moreUnfit = true;
    };
    if (EncodeWholeField(codePage, text, limit, out)) return;
    out.fitBytes = 0;
    out.fitTextLength = 0;
    std::size_t written = 0;
    const auto put = [&](const char* bytes, std::size_t count) {
        if (written < out.buffer.size())
            std::memcpy(out.buffer.data() + written, bytes, std::min(count, out.buffer.size() - written));
        written += count;
    };
    bool fits = true;
    // A character that would cross the limit ends the run that fits, so a cut never splits one.
    const auto extendFit = [&](std::size_t textEnd) {
        if (fits && written <= limit) {
            out.fitBytes = written;
            out.fitTextLength = textEnd;
        } else {
            fits = false;
        }
    };
    const auto isPlainAscii = [&](std::size_t i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        return byte < 0x80 && !IsControlCharacter(byte);
    };
    for (std::size_t at = 0; at < text.size();) {
        if (isPlainAscii(at)) {
            const std::size_t start = at;
            while (at < text.size() && isPlainAscii(at)) ++at;
            put(text.data() + start, at - start);
            // One byte per character: a run that crosses the limit fits up to the limit.
            if (fits && written > limit) {
                out.fitTextLength = start + (limit - out.fitBytes);
                out.fitBytes = limit;
                fits = false;
            }
            extendFit(at);
            continue;
        }
        const std::size_t start = at;
        const char32_t c = NextChar(text, at);
        if (IsControlCharacter(c)) {
            list(out.controls, start, c);
            continue;
        }
        char bytes[2];
        std::size_t length = EncodeChar(codePage, c, bytes);
        if (length == 0) {
            const char32_t equivalent = StandardEquivalent(codePage, c);
            length = equivalent != 0 ? EncodeChar(codePage, equivalent, bytes) : 0;
            if (length == 0) {
                list(out.unmapped, start, c);
                continue;
            }
            auto& equivalents = out.equivalents;
            const auto known =
                std::find_if(equivalents.begin(), equivalents.end(),
                             [c](const EncodedField::Equivalent& e) { return e.character == c; });
            if (known != equivalents.end())
                ++known->count;
            else
                equivalents.push_back({start, c, 1});
        }
        put(bytes, length);
        extendFit(at);
    }
    out.length = written;
}

}  // namespace mirvel::convert
