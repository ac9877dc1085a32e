// The workbook's archive through minizip, read from memory, and its parts' XML through expat.
#include "convert/WorkbookParts.h"

#include <expat.h>
#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
#include <exception>

namespace mirvel::convert::workbook {

namespace {

// minizip's file functions over the bytes in memory: the archive is never a file of its own.
struct Memory {
    std::string_view bytes;
    std::uint64_t at = 0;
};

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int) { return opaque; }
uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto& memory = *static_cast<Memory*>(stream);
    const std::uint64_t left = memory.at < memory.bytes.size() ? memory.bytes.size() - memory.at : 0;
    const uLong count = static_cast<uLong>(std::min<std::uint64_t>(size, left));
    std::memcpy(buffer, memory.bytes.data() + memory.at, count);
    memory.at += count;
    return count;
}
uLong ZCALLBACK WriteMemory(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream) { return static_cast<Memory*>(stream)->at; }
long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto& memory = *static_cast<Memory*>(stream);
    std::uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = memory.at;
    if (origin == ZLIB_FILEFUNC_SEEK_END) base = memory.bytes.size();
    if (offset > memory.bytes.size() || base + offset > memory.bytes.size()) return -1;
    memory.at = base + offset;
    return 0;
}
int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }
int ZCALLBACK ErrorMemory(voidpf, voidpf) { return 0; }

std::string WithCommas(std::uint64_t n)
{
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

[[noreturn]] void Damaged(const std::string& name)
{
    throw WorkbookError("ブックの中身 (" + name + ") が壊れていて読めません");
}

}  // namespace

struct ZipArchive::State {
    Memory memory;
    zlib_filefunc64_def functions{};
    unzFile zip = nullptr;
};

ZipArchive::ZipArchive(std::string_view bytes) : state_(std::make_unique<State>())
{
    state_->memory.bytes = bytes;
    state_->functions = {OpenMemory, ReadMemory,  WriteMemory, TellMemory,
                         SeekMemory, CloseMemory, ErrorMemory, &state_->memory};
    state_->zip = unzOpen2_64("workbook", &state_->functions);
    if (!state_->zip) throw WorkbookError("ブックが壊れているか途中で切れていて、ZIP として読めません");
}

ZipArchive::~ZipArchive()
{
    if (state_->zip) unzClose(state_->zip);
}

bool ZipArchive::Has(const std::string& name)
{
    return unzLocateFile(state_->zip, name.c_str(), 2) == UNZ_OK;
}

void ZipArchive::Read(const std::string& name, const ChunkSink& onChunk)
{
    unzFile zip = state_->zip;
    if (unzLocateFile(zip, name.c_str(), 2) != UNZ_OK)
        throw WorkbookError("ブックに " + name +
                            " がありません（壊れているか、表計算のブックではありません）");
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) Damaged(name);
    if (info.flag & 1)
        throw WorkbookError("ブックの中身 (" + name +
                            ") が暗号化されていて読めません。パスワードを外して保存し直してください");
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        throw WorkbookError("ブックの中身 (" + name + ") が読めない方式 (" +
                            std::to_string(info.compression_method) + ") で圧縮されています");
    if (unzOpenCurrentFile(zip) != UNZ_OK) Damaged(name);
    // The limit holds whatever the entry declares: its declared size only ever cuts it shorter.
    const std::uint64_t byRatio = std::max<std::uint64_t>(info.compressed_size, 1) * MaxInflateRatio;
    const std::uint64_t limit =
        std::min<std::uint64_t>(MaxPartBytes, std::max<std::uint64_t>(byRatio, 1u << 20));
    std::uint64_t total = 0;
    std::string buffer(1u << 16, '\0');
    try {
        for (;;) {
            const int got = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
            if (got < 0) Damaged(name);
            if (got == 0) break;
            total += static_cast<unsigned>(got);
            if (total > limit) {
                if (limit == MaxPartBytes)
                    throw WorkbookError("ブックの中身 (" + name + ") が展開すると " +
                                        WithCommas(MaxPartBytes >> 20) +
                                        " MB を超えるため、読むのをやめました");
                throw WorkbookError(
                    "ブックの中身 (" + name + ") が圧縮された大きさの " + WithCommas(MaxInflateRatio) +
                    " 倍を超えて膨らむため、読むのをやめました（ZIP 爆弾のおそれがあります）");
            }
            onChunk(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        }
    } catch (...) {
        unzCloseCurrentFile(zip);
        throw;
    }
    if (unzCloseCurrentFile(zip) != UNZ_OK) Damaged(name);  // the CRC is checked here
}

std::string ZipArchive::ReadAll(const std::string& name)
{
    std::string out;
    Read(name, [&out](std::string_view chunk) { out.append(chunk); });
    return out;
}

// ---- XML ----

namespace {

constexpr char NamespaceSeparator = '\x01';

std::pair<std::string_view, std::string_view> SplitName(const XML_Char* full)
{
    const std::string_view name(full);
    const std::size_t cut = name.rfind(NamespaceSeparator);
    if (cut == std::string_view::npos) return {{}, name};
    return {name.substr(0, cut), name.substr(cut + 1)};
}

struct Parse {
    XML_Parser parser = nullptr;
    XmlHandler* handler = nullptr;
    std::exception_ptr failure;
    bool doctype = false;
    std::vector<XmlAttribute> attributes;

    void Stop() { XML_StopParser(parser, XML_FALSE); }
};

// Every callback catches: an exception may not cross expat's C frames.
void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes)
{
    auto& parse = *static_cast<Parse*>(data);
    try {
        parse.attributes.clear();
        for (const XML_Char** a = attributes; *a; a += 2) {
            const auto [space, local] = SplitName(a[0]);
            parse.attributes.push_back({space, local, a[1]});
        }
        const auto [space, local] = SplitName(name);
        parse.handler->Start(space, local, parse.attributes);
    } catch (...) {
        parse.failure = std::current_exception();
        parse.Stop();
    }
}

void XMLCALL OnEnd(void* data, const XML_Char* name)
{
    auto& parse = *static_cast<Parse*>(data);
    try {
        const auto [space, local] = SplitName(name);
        parse.handler->End(space, local);
    } catch (...) {
        parse.failure = std::current_exception();
        parse.Stop();
    }
}

void XMLCALL OnText(void* data, const XML_Char* text, int length)
{
    auto& parse = *static_cast<Parse*>(data);
    try {
        parse.handler->Text(std::string_view(text, static_cast<std::size_t>(length)));
    } catch (...) {
        parse.failure = std::current_exception();
        parse.Stop();
    }
}

// No spreadsheet writes a document type; refusing it refuses every entity, internal ("billion
// laughs") or external (a file or address to be read), before any is declared.
void XMLCALL OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int)
{
    auto& parse = *static_cast<Parse*>(data);
    parse.doctype = true;
    parse.Stop();
}

void XMLCALL OnEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                      const XML_Char*, const XML_Char*, const XML_Char*)
{
    auto& parse = *static_cast<Parse*>(data);
    parse.doctype = true;
    parse.Stop();
}

int XMLCALL OnExternalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*)
{
    return XML_STATUS_ERROR;
}

struct ParserDeleter {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

}  // namespace

void ParseXml(const std::string& part, const PartSource& source, XmlHandler& handler)
{
    std::unique_ptr<XML_ParserStruct, ParserDeleter> owner(XML_ParserCreateNS(nullptr, NamespaceSeparator));
    if (!owner) throw std::bad_alloc();
    Parse parse;
    parse.parser = owner.get();
    parse.handler = &handler;
    XML_SetUserData(parse.parser, &parse);
    XML_SetElementHandler(parse.parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parse.parser, OnText);
    XML_SetStartDoctypeDeclHandler(parse.parser, OnDoctype);
    XML_SetEntityDeclHandler(parse.parser, OnEntity);
    XML_SetExternalEntityRefHandler(parse.parser, OnExternalEntity);
    XML_SetParamEntityParsing(parse.parser, XML_PARAM_ENTITY_PARSING_NEVER);

    const auto check = [&](XML_Status status) {
        if (parse.failure) std::rethrow_exception(parse.failure);
        if (parse.doctype)
            throw WorkbookError(
                "ブックの中身 (" + part +
                ") に文書型宣言 (<!DOCTYPE>) があります。表計算ソフトが書かないもので、外部の参照や"
                "膨れ上がる実体を含みうるため、読みません");
        if (status != XML_STATUS_OK)
            throw WorkbookError("ブックの中身 (" + part + ") の XML が " +
                                std::to_string(XML_GetCurrentLineNumber(parse.parser)) + " 行 " +
                                std::to_string(XML_GetCurrentColumnNumber(parse.parser) + 1) +
                                " 文字目で壊れています");
    };
    source([&](std::string_view chunk) {
        while (!chunk.empty()) {
            const std::size_t piece = std::min<std::size_t>(chunk.size(), 1u << 20);
            check(XML_Parse(parse.parser, chunk.data(), static_cast<int>(piece), XML_FALSE));
            chunk.remove_prefix(piece);
        }
    });
    check(XML_Parse(parse.parser, "", 0, XML_TRUE));
}

std::optional<std::string_view> FindAttribute(const std::vector<XmlAttribute>& attributes,
                                              std::string_view name)
{
    for (const XmlAttribute& a : attributes)
        if (a.name == name) return a.value;
    return std::nullopt;
}

}  // namespace mirvel::convert::workbook
