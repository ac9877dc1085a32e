#include "editor/BoxBytes.h"

namespace editor {
namespace {

std::size_t CharacterEnd(std::string_view text, std::size_t start)
{
    std::size_t end = start + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return end;
}

}  // namespace

std::string BoxBytes(mirvel::CodePage codePage, std::string_view text, std::string_view stored)
{
    if (text == mirvel::DecodeToUtf8(codePage, stored)) return std::string(stored);
    if (auto bytes = mirvel::EncodeFromUtf8(codePage, text)) return *bytes;
    std::string result;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = CharacterEnd(text, start);
        const auto bytes = mirvel::EncodeFromUtf8(codePage, text.substr(start, end - start));
        result += bytes ? *bytes : std::string("?");
        start = end;
    }
    return result;
}

}  // namespace editor
