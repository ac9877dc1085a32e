#pragma once

// The converter run in-process, as its command line would run it, with what it printed.
#include "convert/Commands.h"

#include "common/CodePage.h"
#include "common/WordRec.h"
#include "tests/support/TempDir.h"

#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirvel::test {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

inline Outcome Convert(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = convert::RunConvert(args, out, err);
    return {code, out.str(), err.str()};
}

inline const std::string Starter = std::string(MIRVEL_SAMPLES_DIR) + "/starter.mirvel";

using Pairs = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// A zero-filled record: French in Windows-1252, Japanese in Shift-JIS.
inline TWordRec Pair(std::string_view francais, std::string_view japonais)
{
    TWordRec record{};
    record.SetFrancais(*EncodeFromUtf8(CodePage::Windows1252, francais));
    record.SetJaponais(*EncodeFromUtf8(CodePage::ShiftJis, japonais));
    return record;
}

// What the pairs must become, record after record.
inline std::string Records(Pairs pairs)
{
    std::string bytes;
    for (const auto& [francais, japonais] : pairs) {
        const TWordRec record = Pair(francais, japonais);
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    }
    return bytes;
}

struct Imported {
    Outcome outcome;      // standard error without the folder's path
    std::string records;  // what was written, if anything
};

// Imports `bytes` as the file `name` of the folder.
inline Imported ImportFile(const TempDir& dir, const std::string& name, const std::string& bytes,
                           const std::vector<std::string>& options = {})
{
    WriteAll(dir.File(name), bytes);
    std::vector<std::string> args = {"import", dir.File(name), "-o", dir.File(name + ".mirvel")};
    args.insert(args.end(), options.begin(), options.end());
    Imported imported{Convert(args), {}};
    const std::string folder = dir.File("");
    std::string& err = imported.outcome.err;
    for (std::size_t at; (at = err.find(folder)) != std::string::npos;) err.erase(at, folder.size());
    if (imported.outcome.code == convert::ExitSuccess) imported.records = ReadAll(dir.File(name + ".mirvel"));
    return imported;
}

}  // namespace mirvel::test
