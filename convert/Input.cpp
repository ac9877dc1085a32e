#include "convert/Input.h"

#include "common/InOutError.h"
#include "common/os/File.h"
#include "convert/TextEncoding.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace mirvel::convert {
namespace {

// Fills a buffer as far as the input goes: fewer bytes only at its end.
using Source = std::function<std::size_t(char* buffer, std::size_t size)>;

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
        held += source(block.data() + held, block.size() - held);
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

std::size_t ReadStandardInput(char* buffer, std::size_t size)
{
#ifdef _WIN32
    // Text mode would turn CR LF into LF and stop at a Ctrl+Z: a word list is bytes.
    static const bool binary = _setmode(_fileno(stdin), _O_BINARY) != -1;
    (void)binary;
#endif
    // fread itself reads on until the buffer is full, the input ends or a read fails.
    const std::size_t done = std::fread(buffer, 1, size, stdin);
    if (done < size && std::ferror(stdin)) throw InOutError(1117);  // the I/O error's own code
    return done;
}

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
    const std::size_t got = source(first, sizeof first);
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
            input.fileSize = head.size() + source(input.file.get() + head.size(), rest);
        } else {
            input.grown.assign(head);
            static char block[std::size_t{1} << 16];
            while (const std::size_t n = source(block, sizeof block)) input.grown.append(block, n);
        }
    }
    if (file.IsOpen()) file.Close();
    return input;
}

void RefusePipe(const std::string& path, bool output)
{
    if (!os::IsPipe(path)) return;
    throw MessageError(output ? "パイプには書き出せません。標準出力に書き出すには -o - と指定してください"
                              : "パイプからは読み込めません。標準入力から読み込むには - と指定してください");
}

}  // namespace mirvel::convert
