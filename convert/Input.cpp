#include "convert/Input.h"

#include "common/os/File.h"
#include "convert/StandardInput.h"
#include "convert/Utf8.h"

#include <cstring>
#include <functional>

namespace mirvel::convert {
namespace {

using Source = std::function<std::size_t(char* buffer, std::size_t size)>;

// Fills `buffer` as far as the source goes: fewer bytes only at its end.
std::size_t ReadFull(const Source& source, char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const std::size_t n = source(buffer + done, size - done);
        if (n == 0) break;
        done += n;
    }
    return done;
}

// UTF-16 to UTF-8 a block at a time as it is read, `head` first. A high surrogate at a block's
// end waits for its low half in the next one.
void ReadUtf16(const Source& source, bool bigEndian, std::string_view head, std::string& out)
{
    std::string block(std::size_t{1} << 20, '\0');
    std::size_t held = head.copy(block.data(), head.size());
    const auto unitAt = [&](std::size_t at) {
        const auto first = static_cast<unsigned char>(block[at]);
        const auto second = static_cast<unsigned char>(block[at + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    for (bool last = false; !last;) {
        held += ReadFull(source, block.data() + held, block.size() - held);
        last = held < block.size();
        std::size_t at = 0;
        for (; at + 1 < held; at += 2) {
            const char32_t unit = unitAt(at);
            if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < held && unitAt(at + 2) >= 0xDC00 &&
                unitAt(at + 2) <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00));
                at += 2;
            } else if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 >= held && !last) {
                break;
            } else if (unit >= 0xD800 && unit <= 0xDFFF) {
                AppendEscape(out, static_cast<unsigned char>(block[at]));
                AppendEscape(out, static_cast<unsigned char>(block[at + 1]));
            } else {
                AppendUtf8(out, unit);
            }
        }
        if (last && at < held) AppendEscape(out, static_cast<unsigned char>(block[at++]));  // an odd byte
        std::memmove(block.data(), block.data() + at, held - at);
        held -= at;
    }
}

}  // namespace

InputText ReadInput(const std::string& path)
{
    os::File file;
    std::int64_t size = -1;
    Source source;
    if (IsStandardStream(path)) {
        source = ReadStandardInput;
    } else {
        RefusePipe(path, false);
        file = os::File::OpenForReading(path);
        size = file.Size();
        source = [&file](char* buffer, std::size_t n) { return file.Read(buffer, n); };
    }
    InputText input;
    char first[3];
    const std::size_t got = ReadFull(source, first, sizeof first);
    const std::string_view start(first, got);
    if (start.substr(0, 2) == "\xFF\xFE" || start.substr(0, 2) == "\xFE\xFF") {
        const bool bigEndian = first[0] == '\xFE';
        input.bom = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
        ReadUtf16(source, bigEndian, start.substr(2), input.grown);
    } else {
        const bool bom = start == "\xEF\xBB\xBF";
        if (bom) input.bom = TextEncoding::Utf8;
        const std::string_view head = bom ? std::string_view() : start;
        if (size >= 0) {
            // One allocation of the size the file had when it was opened.
            const std::size_t rest = static_cast<std::size_t>(size) - std::min<std::size_t>(got, size);
            const std::size_t bytes = head.size() + rest;
            input.file = {LargeBufferAllocator<char>().allocate(bytes), InputText::Free{bytes}};
            if (!head.empty()) std::memcpy(input.file.get(), head.data(), head.size());
            input.fileSize = head.size() + ReadFull(source, input.file.get() + head.size(), rest);
        } else {
            input.grown.assign(head);
            static char block[std::size_t{1} << 16];
            while (const std::size_t n = ReadFull(source, block, sizeof block)) input.grown.append(block, n);
        }
    }
    if (file.IsOpen()) file.Close();
    return input;
}

}  // namespace mirvel::convert
