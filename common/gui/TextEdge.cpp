#include "common/gui/TextEdge.h"

#include "common/CodePage.h"

namespace mirvel::gui {
namespace {

std::optional<std::string> Encode(CodePage codePage, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return EncodeFromUtf8(codePage, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace

QString FromFrancais(std::string_view bytes) { return FromUtf8(DecodeToUtf8(CodePage::Windows1252, bytes)); }
QString FromJaponais(std::string_view bytes) { return FromUtf8(DecodeToUtf8(CodePage::ShiftJis, bytes)); }
std::optional<std::string> ToFrancais(const QString& text) { return Encode(CodePage::Windows1252, text); }
std::optional<std::string> ToJaponais(const QString& text) { return Encode(CodePage::ShiftJis, text); }

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToUtf8(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
}

}  // namespace mirvel::gui
