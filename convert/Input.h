#pragma once

#include "common/LargeBuffer.h"
#include "convert/TextEncoding.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace mirvel::convert {

// The converter's "-": standard input as an input file, standard output as export's output.
inline bool IsStandardStream(const std::string& path) { return path == "-"; }

// Refuses a name that leads to a pipe, with the hint to give it as "-" (a pipe named otherwise
// would be refused by the file layer with a bare "access denied").
void RefusePipe(const std::string& path, bool output);

// Fills `buffer` as far as standard input goes, in binary; 0 only at its end. Throws InOutError
// on a failing read.
std::size_t ReadStandardInput(char* buffer, std::size_t size);

// A text input, read whole and once. A UTF-8 BOM is dropped; UTF-16 (known only by its BOM)
// is turned into UTF-8 block by block as it comes in, a unit that is no character (a lone
// surrogate, an odd byte at the end) escaped as its bytes (TextEncoding.h), so that only the
// UTF-8 is ever held.
struct InputText {
    std::string_view Bytes() const { return file ? std::string_view(file.get(), fileSize) : grown; }

    std::optional<TextEncoding> bom;  // the encoding a BOM named
    // A file in one allocation of its size that nothing fills before the read does, in huge
    // pages where the system gives them (a page fault per 4 KiB was most of an import's time);
    // standard input and UTF-16 grown as they came.
    struct Free {
        std::size_t size;
        void operator()(char* data) const { LargeBufferAllocator<char>().deallocate(data, size); }
    };
    std::unique_ptr<char[], Free> file{nullptr, Free{0}};
    std::size_t fileSize = 0;
    std::string grown;
};

// "-" is standard input. A pipe named any other way, or anything else that isn't a regular
// file, is refused before it is opened. Throws InOutError or MessageError.
InputText ReadInput(const std::string& path);

}  // namespace mirvel::convert
