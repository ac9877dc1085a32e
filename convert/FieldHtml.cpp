#include "convert/FieldHtml.h"

#include "common/Utf8Text.h"

#include <algorithm>
#include <array>

namespace mirvel::convert {
namespace {

struct NamedCharacter {
    std::string_view name;
    char32_t value;
};

// The markup's own five, then every character of Windows-1252 by its HTML name: a hand-made
// file may spell any French letter this way, and each of them fits the French field. The
// spaces are what an editor puts between words.
constexpr NamedCharacter NamedCharacters[] = {
    {"amp", '&'},       {"lt", '<'},        {"gt", '>'},        {"quot", '"'},      {"apos", '\''},
    {"nbsp", 0xA0},     {"iexcl", 0xA1},    {"cent", 0xA2},     {"pound", 0xA3},    {"curren", 0xA4},
    {"yen", 0xA5},      {"brvbar", 0xA6},   {"sect", 0xA7},     {"uml", 0xA8},      {"copy", 0xA9},
    {"ordf", 0xAA},     {"laquo", 0xAB},    {"not", 0xAC},      {"shy", 0xAD},      {"reg", 0xAE},
    {"macr", 0xAF},     {"deg", 0xB0},      {"plusmn", 0xB1},   {"sup2", 0xB2},     {"sup3", 0xB3},
    {"acute", 0xB4},    {"micro", 0xB5},    {"para", 0xB6},     {"middot", 0xB7},   {"cedil", 0xB8},
    {"sup1", 0xB9},     {"ordm", 0xBA},     {"raquo", 0xBB},    {"frac14", 0xBC},   {"frac12", 0xBD},
    {"frac34", 0xBE},   {"iquest", 0xBF},   {"Agrave", 0xC0},   {"Aacute", 0xC1},   {"Acirc", 0xC2},
    {"Atilde", 0xC3},   {"Auml", 0xC4},     {"Aring", 0xC5},    {"AElig", 0xC6},    {"Ccedil", 0xC7},
    {"Egrave", 0xC8},   {"Eacute", 0xC9},   {"Ecirc", 0xCA},    {"Euml", 0xCB},     {"Igrave", 0xCC},
    {"Iacute", 0xCD},   {"Icirc", 0xCE},    {"Iuml", 0xCF},     {"ETH", 0xD0},      {"Ntilde", 0xD1},
    {"Ograve", 0xD2},   {"Oacute", 0xD3},   {"Ocirc", 0xD4},    {"Otilde", 0xD5},   {"Ouml", 0xD6},
    {"times", 0xD7},    {"Oslash", 0xD8},   {"Ugrave", 0xD9},   {"Uacute", 0xDA},   {"Ucirc", 0xDB},
    {"Uuml", 0xDC},     {"Yacute", 0xDD},   {"THORN", 0xDE},    {"szlig", 0xDF},    {"agrave", 0xE0},
    {"aacute", 0xE1},   {"acirc", 0xE2},    {"atilde", 0xE3},   {"auml", 0xE4},     {"aring", 0xE5},
    {"aelig", 0xE6},    {"ccedil", 0xE7},   {"egrave", 0xE8},   {"eacute", 0xE9},   {"ecirc", 0xEA},
    {"euml", 0xEB},     {"igrave", 0xEC},   {"iacute", 0xED},   {"icirc", 0xEE},    {"iuml", 0xEF},
    {"eth", 0xF0},      {"ntilde", 0xF1},   {"ograve", 0xF2},   {"oacute", 0xF3},   {"ocirc", 0xF4},
    {"otilde", 0xF5},   {"ouml", 0xF6},     {"divide", 0xF7},   {"oslash", 0xF8},   {"ugrave", 0xF9},
    {"uacute", 0xFA},   {"ucirc", 0xFB},    {"uuml", 0xFC},     {"yacute", 0xFD},   {"thorn", 0xFE},
    {"yuml", 0xFF},     {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},  {"scaron", 0x161},
    {"Yuml", 0x178},    {"Zcaron", 0x17D},  {"zcaron", 0x17E},  {"fnof", 0x192},    {"circ", 0x2C6},
    {"tilde", 0x2DC},   {"ensp", 0x2002},   {"emsp", 0x2003},   {"thinsp", 0x2009}, {"ndash", 0x2013},
    {"mdash", 0x2014},  {"lsquo", 0x2018},  {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"ldquo", 0x201C},
    {"rdquo", 0x201D},  {"bdquo", 0x201E},  {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},
    {"hellip", 0x2026}, {"permil", 0x2030}, {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC},
    {"trade", 0x2122},
};
constexpr std::size_t LongestName = 6;

// Looked up only at a '&' in a field of HTML, so a walk over the table is enough.
char32_t NamedValue(std::string_view name)
{
    for (const NamedCharacter& named : NamedCharacters)
        if (named.name == name) return named.value;
    return 0;
}

bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// The bytes where markup or white space may start; every other byte is text as it is.
bool IsSpecial(char c)
{
    static const auto table = [] {
        std::array<bool, 256> special{};
        for (const unsigned char b : {'<', '&', '[', ' ', '\t', '\n', '\r', '\f'}) special[b] = true;
        return special;
    }();
    return table[static_cast<unsigned char>(c)];
}
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiAlnum(char c) { return IsAsciiLetter(c) || IsAsciiDigit(c); }

int HexValue(char c)
{
    if (IsAsciiDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A character written by reference that reads as a space between words.
bool IsSpaceCharacter(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == 0xA0 || c == 0x2002 ||
           c == 0x2003 || c == 0x2009;
}

// The elements a browser lays out on their own line or cell, and images: each separates words.
bool SeparatesWords(std::string_view name)
{
    static constexpr std::string_view names[] = {
        "address",    "article", "aside",  "blockquote", "br",    "dd",  "div",   "dl", "dt",
        "figcaption", "figure",  "footer", "h1",         "h2",    "h3",  "h4",    "h5", "h6",
        "header",     "hr",      "img",    "li",         "main",  "nav", "ol",    "p",  "pre",
        "section",    "table",   "tbody",  "td",         "tfoot", "th",  "thead", "tr", "ul",
    };
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

constexpr std::string_view SoundStart = "[sound:";

class HtmlDecoder {
public:
    HtmlDecoder(std::string_view text, std::string& out) : text_(text), out_(out)
    {
        lastTagEnd_ = text_.rfind('>');
    }

    void Run()
    {
        const std::size_t n = text_.size();
        out_.reserve(n);
        for (std::size_t i = 0; i < n;) {
            // Plain text goes over in runs, so that a field costs little more than its copy.
            std::size_t end = i;
            while (end < n && !IsSpecial(text_[end])) ++end;
            if (end > i) {
                PutSpace();
                out_.append(text_, i, end - i);
                i = end;
                continue;
            }
            const char c = text_[i];
            if (c == '<' && Tag(i)) continue;
            if (c == '&' && Reference(i)) continue;
            if (c == '[' && Sound(i)) continue;
            if (IsHtmlSpace(c)) {
                space_ = true;
            } else {
                PutSpace();
                out_ += c;
            }
            ++i;
        }
    }

private:
    // The space that white space before a character stands for, once the field has begun.
    void PutSpace()
    {
        if (space_ && !out_.empty()) out_ += ' ';
        space_ = false;
    }

    // A tag from `at`: true, and `at` past it, when there is one.
    bool Tag(std::size_t& at)
    {
        const std::size_t n = text_.size();
        std::size_t i = at + 1;
        if (i >= n) return false;
        if (text_[i] == '!' && text_.compare(i, 3, "!--") == 0 && !commentsUnclosed_) {
            const std::size_t end = text_.find("-->", i + 3);
            if (end != std::string_view::npos) {
                at = end + 3;
                return true;
            }
            commentsUnclosed_ = true;  // then no later comment closes either
        }
        std::string_view name;
        if (text_[i] == '!' || text_[i] == '?') {
            ++i;
        } else {
            if (text_[i] == '/') ++i;
            if (i >= n || !IsAsciiLetter(text_[i])) return false;
            const std::size_t start = i;
            while (i < n && IsAsciiAlnum(text_[i])) ++i;
            name = text_.substr(start, i - start);
        }
        if (lastTagEnd_ == std::string_view::npos || lastTagEnd_ < i) return false;

        std::size_t end = std::string_view::npos;
        if (quotesCount_) {
            char quote = 0;
            for (std::size_t k = i; k < n; ++k) {
                const char c = text_[k];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    end = k;
                    break;
                }
            }
            // A quote left open swallowed the rest; scanning from every later '<' again would
            // cost the square of the length, so quotes stop counting.
            if (end == std::string_view::npos) quotesCount_ = false;
        }
        if (end == std::string_view::npos) end = text_.find('>', i);

        char lower[12];
        if (!name.empty() && name.size() <= sizeof lower) {
            for (std::size_t k = 0; k < name.size(); ++k)
                lower[k] = static_cast<char>(name[k] | (IsAsciiLetter(name[k]) ? 0x20 : 0));
            if (SeparatesWords({lower, name.size()})) space_ = true;
        }
        at = end + 1;
        return true;
    }

    // A character reference from `at`: true, and `at` past it, when it names a character.
    bool Reference(std::size_t& at)
    {
        const std::size_t n = text_.size();
        std::size_t i = at + 1;
        char32_t value = 0;
        if (i < n && text_[i] == '#') {
            ++i;
            const bool hex = i < n && (text_[i] == 'x' || text_[i] == 'X');
            if (hex) ++i;
            const std::size_t start = i;
            for (; i < n; ++i) {
                const int digit = hex ? HexValue(text_[i]) : IsAsciiDigit(text_[i]) ? text_[i] - '0' : -1;
                if (digit < 0) break;
                value = std::min<char32_t>(value * (hex ? 16 : 10) + static_cast<char32_t>(digit), 0x110000);
            }
            if (i == start || value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
                return false;
        } else {
            const std::size_t start = i;
            while (i < n && i - start <= LongestName && IsAsciiAlnum(text_[i])) ++i;
            value = NamedValue(text_.substr(start, i - start));
            if (value == 0) return false;
        }
        if (i >= n || text_[i] != ';') return false;
        at = i + 1;
        if (IsSpaceCharacter(value)) {
            space_ = true;
        } else {
            PutSpace();
            AppendUtf8(out_, value);
        }
        return true;
    }

    bool Sound(std::size_t& at)
    {
        if (soundsUnclosed_ || text_.compare(at, SoundStart.size(), SoundStart) != 0) return false;
        const std::size_t end = text_.find(']', at + SoundStart.size());
        if (end == std::string_view::npos) {
            soundsUnclosed_ = true;
            return false;
        }
        if (end == at + SoundStart.size()) return false;  // "[sound:]" names no file
        space_ = true;
        at = end + 1;
        return true;
    }

    std::string_view text_;
    std::string& out_;
    std::size_t lastTagEnd_;  // no tag closes after the last '>'
    bool space_ = false;      // white space seen since the last character written
    bool quotesCount_ = true;
    bool commentsUnclosed_ = false;
    bool soundsUnclosed_ = false;
};

}  // namespace

bool NeedsHtmlDecoding(std::string_view utf8)
{
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = utf8[i];
        if (!IsSpecial(c)) continue;
        if (c == ' ') {
            if (i == 0 || i + 1 == n || utf8[i + 1] == ' ') return true;
        } else if (c != '[' || utf8.compare(i, SoundStart.size(), SoundStart) == 0) {
            return true;
        }
    }
    return false;
}

void HtmlFieldTextInto(std::string_view utf8, std::string& out)
{
    out.clear();
    if (!NeedsHtmlDecoding(utf8)) {
        out.assign(utf8);
        return;
    }
    HtmlDecoder(utf8, out).Run();
}

std::string HtmlFieldText(std::string_view utf8)
{
    std::string out;
    HtmlFieldTextInto(utf8, out);
    return out;
}

}  // namespace mirvel::convert
