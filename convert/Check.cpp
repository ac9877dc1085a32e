#include "convert/Check.h"

#include "convert/EncodedField.h"

namespace mirvel::convert {

RecordFinding& AddFinding(std::vector<RecordFinding>& findings, RecordFinding::Kind kind, std::int64_t record,
                          Side side, const std::string& text)
{
    RecordFinding& finding = findings.emplace_back();
    finding.kind = kind;
    finding.record = record;
    finding.side = side;
    finding.text = text;
    return finding;
}

std::optional<std::string> ScanField(std::vector<RecordFinding>& findings, std::int64_t record, Side side,
                                     unsigned char length, std::string_view bytes, bool controls)
{
    std::vector<UndecodableRun> undecodable;
    std::string text = DecodeToUtf8(CodePageOf(side), bytes, undecodable);
    const bool damagedLength = length > CapacityOf(side);
    if (damagedLength)
        AddFinding(findings, RecordFinding::LengthAboveCapacity, record, side, text).length = length;
    for (const UndecodableRun& run : undecodable) {
        RecordFinding& finding = AddFinding(findings, RecordFinding::Undecodable, record, side, text);
        finding.byteIndex = run.index;
        finding.bytes = bytes.substr(run.index, run.length);
    }
    // A control byte is never the second byte of a Shift-JIS pair, so each one is a character.
    // Behind a damaged length byte they are the record's padding, which that finding explains.
    for (std::size_t at = 0; controls && !damagedLength && at < bytes.size(); ++at) {
        if (!IsControlCharacter(static_cast<unsigned char>(bytes[at]))) continue;
        RecordFinding& finding = AddFinding(findings, RecordFinding::ControlCharacter, record, side);
        finding.byteIndex = at;
        finding.bytes = bytes.substr(at, 1);
    }
    if (!undecodable.empty()) return std::nullopt;
    return text;
}

void CheckRecords(const TWordRec* records, std::size_t count, std::int64_t first,
                  std::vector<RecordFinding>& findings)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t record = first + static_cast<std::int64_t>(i);
        ScanField(findings, record, Side::Francais, records[i].Francais[0], records[i].FrancaisBytes(), true);
        ScanField(findings, record, Side::Japonais, records[i].Japonais[0], records[i].JaponaisBytes(), true);
    }
}

}  // namespace mirvel::convert
