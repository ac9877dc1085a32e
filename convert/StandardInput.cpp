#include "convert/StandardInput.h"

#include "common/InOutError.h"

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

}  // namespace mirvel::convert
