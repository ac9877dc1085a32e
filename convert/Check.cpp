#include "Check.h"

#include "FieldText.h"

namespace mirvel::convert {
namespace {

CheckFinding& Add(CheckReport& report, CheckFinding::Kind kind, std::int64_t record,
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
    if (length > CapacityOf(side)) {
        Add(report, CheckFinding::LengthAboveCapacity, record, side).length = length;
    }
    for (UndecodableBytes& undecodable : DecodeField(side, bytes).undecodable) {
        CheckFinding& finding = Add(report, CheckFinding::Undecodable, record, side);
        finding.byteIndex = undecodable.index;
        finding.bytes = std::move(undecodable.bytes);
    }
}

}  // namespace

CheckReport CheckWords(const WordList& words, const std::string& trailingBytes)
{
    CheckReport report;
    report.recordCount = static_cast<std::int64_t>(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::int64_t record = static_cast<std::int64_t>(i) + 1;
        CheckField(report, record, Side::Francais, words[i].Francais[0], words[i].FrancaisBytes());
        CheckField(report, record, Side::Japonais, words[i].Japonais[0], words[i].JaponaisBytes());
    }
    if (!trailingBytes.empty()) {
        Add(report, CheckFinding::TrailingPartial, report.recordCount + 1).bytes = trailingBytes;
    }
    return report;
}

}  // namespace mirvel::convert
