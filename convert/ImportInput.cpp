#include "convert/ImportInput.h"

#include <string>

namespace mirvel::convert {

ImportRun ImportInput(const ChunkSource& read, const ImportOptions& options, std::optional<TextEncoding> stated)
{
    InputProbe probe;
    read([&](std::string_view chunk, bool) { probe.Add(chunk); }, 1, false);
    ImportRun run;
    run.input = probe.Decide(stated);

    DecodedInput decoding = run.input;
    if (run.input.notUtf8At) {
        EncodingChoice choice(options);
        read([&](std::string_view chunk, bool last) { choice.Feed(chunk, last); }, 1, false);
        run.choice = choice.Finish();
        if (!run.choice->chosen) return run;
        decoding.encoding = run.input.encoding = *run.choice->chosen;
        decoding.notUtf8At.reset();
    }

    const bool utf16 = decoding.encoding == TextEncoding::Utf16Le || decoding.encoding == TextEncoding::Utf16Be;
    ChunkedImport import(options, probe.LineFeeds());
    bool first = true;
    std::string storage;
    read(
        [&](std::string_view chunk, bool last) {
            import.Feed(probe.DecodeChunk(decoding, chunk, first, storage), last);
            first = false;
        },
        utf16 ? 2 : 1, decoding.encoding == TextEncoding::Utf16Be);
    run.result = import.Finish();
    return run;
}

}  // namespace mirvel::convert
