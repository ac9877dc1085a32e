#include "convert/StandardInput.h"

#include "common/InOutError.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace mirvel::convert {

std::size_t ReadStandardInput(char* buffer, std::size_t size)
{
#ifdef _WIN32
    // Text mode would turn CR LF into LF and stop at a Ctrl+Z: a word list is bytes.
    static const bool binary = _setmode(_fileno(stdin), _O_BINARY) != -1;
    (void)binary;
#endif
    std::size_t done = 0;
    while (done < size) {
        const std::size_t n = std::fread(buffer + done, 1, size - done, stdin);
        if (n == 0) {
            if (std::ferror(stdin)) throw InOutError(1117);  // the I/O error's own code
            break;
        }
        done += n;
    }
    return done;
}

bool IsSameFile(const std::string& first, const std::string& second)
{
    return !IsStandardStream(first) && !IsStandardStream(second) && os::IsSameFile(first, second);
}

void RefusePipe(const std::string& path, bool output)
{
    if (!os::IsPipe(path)) return;
    throw MessageError(output ? "パイプには書き出せません。標準出力に書き出すには -o - と指定してください"
                              : "パイプからは読み込めません。標準入力から読み込むには - と指定してください");
}

ListInput::ListInput(std::string path, int passes) : path_(std::move(path)), passes_(passes) {}

std::string ListInput::Pass(const WordFileReader::Block& onBlock)
{
    if (!kept_ && IsStandardStream(path_)) {
        WordFileReader reader([](void* buffer, std::size_t size) {
            return ReadStandardInput(static_cast<char*>(buffer), size);
        });
        if (passes_ == 1) {
            reader.ForEachBlock(onBlock);
            return reader.Trailing();
        }
        kept_ = ReadWords(reader);
        keptTrailing_ = reader.Trailing();
    }
    if (kept_) {
        for (std::size_t first = 0; first < kept_->size(); first += WordFileReader::BlockRecords) {
            const std::size_t count = std::min(WordFileReader::BlockRecords, kept_->size() - first);
            onBlock(kept_->data() + first, count, static_cast<std::int64_t>(first) + 1);
        }
        return keptTrailing_;
    }
    RefusePipe(path_, false);
    WordFileReader reader(path_, WordFileReader::Access::ReadOnly);
    reader.ForEachBlock(onBlock);
    reader.Close();
    return reader.Trailing();
}

}  // namespace mirvel::convert
