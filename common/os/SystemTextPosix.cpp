#include "common/os/SystemText.h"

#include "common/CodePage.h"

namespace mirvel::os {

// No system code page here: the settings are read as on the users' systems.
std::string SystemTextToUtf8(std::string_view bytes) { return DecodeToUtf8(CodePage::ShiftJis, bytes); }

}  // namespace mirvel::os
