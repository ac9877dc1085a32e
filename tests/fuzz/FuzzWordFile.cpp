// The word-list reader on arbitrary file bytes: every record comes back byte for byte, each
// field's significant bytes stay inside that field, both sides decode to text a window can
// show, and writing the list back reproduces the whole records of the input exactly.
#include "tests/fuzz/FuzzScratch.h"

#include "common/CodePage.h"
#include "common/InOutError.h"
#include "common/WordFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace {

using mirvel::CodePage;
using mirvel::TWordRec;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good());
}

// Characters in well-formed UTF-8 (no surrogates, nothing beyond U+10FFFF, no overlong
// forms), or nullopt: a label handed anything else would drop or mangle text.
std::optional<std::size_t> Utf8Characters(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        const auto first = static_cast<unsigned char>(text[at]);
        std::size_t length = first < 0x80             ? 1
                             : (first & 0xE0) == 0xC0 ? 2
                             : (first & 0xF0) == 0xE0 ? 3
                             : (first & 0xF8) == 0xF0 ? 4
                                                      : 0;
        if (length == 0 || text.size() - at < length) return std::nullopt;
        char32_t c = length == 1 ? first : first & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t Minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < Minimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
        at += length;
    }
    return count;
}

void CheckField(std::string_view bytes, const unsigned char* field, std::size_t capacity)
{
    // The significant bytes lie in the field's own content, whatever its length byte says.
    const auto* first = reinterpret_cast<const unsigned char*>(bytes.data());
    FUZZ_CHECK(first == field + 1);
    FUZZ_CHECK(bytes.size() <= capacity);
    if (field[0] <= capacity) FUZZ_CHECK(bytes.size() == field[0]);
}

// Both sides as the card and the editor's boxes show them.
void CheckShown(const TWordRec& record)
{
    const std::string_view francais = record.FrancaisBytes();
    const std::string_view japonais = record.JaponaisBytes();
    CheckField(francais, record.Francais, mirvel::FrancaisCapacity);
    CheckField(japonais, record.Japonais, mirvel::JaponaisCapacity);

    // Windows-1252 is one character per byte; a byte without one still shows as U+FFFD, and
    // text without any such byte encodes back to the very same bytes.
    const std::string french = mirvel::DecodeToUtf8(CodePage::Windows1252, francais);
    FUZZ_CHECK(Utf8Characters(french) == francais.size());
    if (french.find("\xEF\xBF\xBD") == std::string::npos)
        FUZZ_CHECK(mirvel::EncodeFromUtf8(CodePage::Windows1252, french) == std::string(francais));

    // Shift-JIS takes one or two bytes per character; nothing is dropped or invented.
    const std::string japanese = mirvel::DecodeToUtf8(CodePage::ShiftJis, japonais);
    const std::optional<std::size_t> characters = Utf8Characters(japanese);
    FUZZ_CHECK(characters.has_value());
    FUZZ_CHECK(*characters <= japonais.size() && 2 * *characters >= japonais.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto& scratch = mirvel::fuzz::Scratch::Get();
    const std::string input = scratch.File("input.mirvel");
    const std::string output = scratch.File("output.mirvel");
    WriteBytes(input, data, size);

    const std::size_t count = size / mirvel::RecordSize;
    const mirvel::WordList words = mirvel::ReadWordFile(input);
    FUZZ_CHECK(words.size() == count);
    if (count > 0) FUZZ_CHECK(std::memcmp(words.data(), data, count * mirvel::RecordSize) == 0);

    // The same bytes from a source that hands them out in uneven pieces, as a pipe does: the
    // same records, and the partial one at the end kept.
    std::size_t at = 0;
    mirvel::WordFileReader piped([&](void* buffer, std::size_t wanted) {
        const std::size_t n = std::min({wanted, size - at, at % 97 + 1});
        std::memcpy(buffer, data + at, n);
        at += n;
        return n;
    });
    const mirvel::WordList fromSource = mirvel::ReadWords(piped);
    FUZZ_CHECK(fromSource.size() == count);
    if (count > 0) FUZZ_CHECK(std::memcmp(fromSource.data(), data, count * mirvel::RecordSize) == 0);
    FUZZ_CHECK(piped.Trailing() ==
               std::string(reinterpret_cast<const char*>(data) + count * mirvel::RecordSize,
                           size - count * mirvel::RecordSize));
    for (const TWordRec& record : words) CheckShown(record);

    // The editor's save of what it read: whole records, tails included; a partial one dropped.
    mirvel::WriteWordFile(output, words);
    FUZZ_CHECK(ReadBytes(output) ==
               std::string(reinterpret_cast<const char*>(data), count * mirvel::RecordSize));
    return 0;
}
