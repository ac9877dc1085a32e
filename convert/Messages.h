#pragma once

// Every sentence the converter shows the user, in Japanese.

#include "convert/Export.h"
#include "convert/Import.h"
#include "convert/Sheet.h"
#include "convert/TextEncoding.h"

#include <cstddef>
#include <optional>
#include <string>

namespace mirvel::convert {

// Import: one line per issue, "file:line:column: ..." (a note that concerns a whole row or
// counts rows: "file:line: ..."); from a workbook's sheet "file:単語!B7: ..." and "file:単語の 7 行目: ...".
std::string ImportIssueText(const std::string& file, const ImportIssue& issue, TextEncoding encoding,
                            const SheetText* sheet = nullptr);
std::string EmptySheetText(const std::string& sheet);
std::string EncodingChosenText(const std::string& file, TextEncoding encoding);
std::string EncodingUndecidedText(const std::string& file, const ImportPlan& plan);
std::string SemicolonGuessedText(const std::string& file);
std::string ColumnsErrorText(const ColumnsError& error);
std::string StatedEncodingUnusedText(const std::string& file, TextEncoding stated, bool bom,
                                     TextEncoding used);
std::string ImportRefusedText(const std::string& output, const ImportResult& result);
std::string ImportDoneText(const std::string& output, const ImportResult& result);

// Export and check: one line per finding, "レコード n: ...", worded as a reason not to write where
// an export's encoding is given.
std::string RecordFindingText(const RecordFinding& finding, std::optional<TextEncoding> exportEncoding);
// Anki takes no note whose first field is empty: the pairs without a French word stay out of it.
std::string EmptyFirstFieldText(std::int64_t first, std::int64_t count);
std::string ExportRefusedText(const std::string& output, const ExportResult& result);
std::string ExportDoneText(const std::string& output, std::size_t records);

// Check and list.
std::string RecordCountText(const std::string& file, std::int64_t count);
std::string CheckVerdictText(std::size_t findings);
std::string TrailingSkippedText(const std::string& file, std::size_t bytes);

std::string FileErrorText(const std::string& file, const std::string& message);
std::string SameFileText(const std::string& file);

}  // namespace mirvel::convert
