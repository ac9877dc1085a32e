#include "convert/Check.h"

#include "convert/EncodedField.h"

#include <algorithm>

namespace mirvel::convert {
namespace {

CheckFinding& AddFinding(CheckReport& report, CheckFinding::Kind kind, std::int64_t record,
                         Side side = Side::Francais)
{
    CheckFinding& finding = report.findings.emplace_back();
    finding.kind = kind;
    finding.record = record;
    finding.side = side;
    return finding;
}

void CheckField(CheckReport& report, std::int64_t record, Side side, unsigned char length,
                std::string_view bytes)
{
    const bool damagedLength = length > CapacityOf(side);
    if (damagedLength) AddFinding(report, CheckFinding::LengthAboveCapacity, record, side).length = length;
    std::vector<UndecodableRun> undecodable;
    DecodeToUtf8(CodePageOf(side), bytes, undecodable);
    for (const UndecodableRun& run : undecodable) {
        CheckFinding& finding = AddFinding(report, CheckFinding::Undecodable, record, side);
        finding.byteIndex = run.index;
        finding.bytes = bytes.substr(run.index, run.length);
    }
    // A control byte is never the second byte of a Shift-JIS pair, so each one is a character.
    // Behind a damaged length byte they are the record's padding, which that finding explains.
    for (std::size_t at = 0; !damagedLength && at < bytes.size(); ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (!IsControlCharacter(byte)) continue;
        CheckFinding& finding = AddFinding(report, CheckFinding::ControlCharacter, record, side);
        finding.byteIndex = at;
        finding.bytes = std::string(1, static_cast<char>(byte));
    }
}

}  // namespace

void Checker::Add(const TWordRec* records, std::size_t count, std::int64_t first)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t record = first + static_cast<std::int64_t>(i);
        CheckField(report_, record, Side::Francais, records[i].Francais[0], records[i].FrancaisBytes());
        CheckField(report_, record, Side::Japonais, records[i].Japonais[0], records[i].JaponaisBytes());
    }
    report_.recordCount = std::max(report_.recordCount, first - 1 + static_cast<std::int64_t>(count));
}

CheckReport Checker::Finish(const std::string& trailingBytes)
{
    if (!trailingBytes.empty()) {
        AddFinding(report_, CheckFinding::TrailingPartial, report_.recordCount + 1).bytes = trailingBytes;
    }
    return std::move(report_);
}

}  // namespace mirvel::convert
