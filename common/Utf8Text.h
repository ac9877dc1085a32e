#pragma once

#include <string>

namespace mirvel {

// Appends one character as UTF-8. Surrogate values are written as they come, which the
// converter relies on to carry undecodable input bytes through its text.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace mirvel
