#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

// Record bytes meet Qt's Unicode strings only here: French-side text through Windows-1252,
// Japanese-side text through Shift-JIS (code page 932).
namespace mirvel::gui {

QString FromFrancais(std::string_view bytes);
QString FromJaponais(std::string_view bytes);

// nullopt when a character has no place in the side's code page.
std::optional<std::string> ToFrancais(const QString& text);
std::optional<std::string> ToJaponais(const QString& text);

// UTF-8 messages (errors) to QString and back.
QString FromUtf8(const std::string& text);
std::string ToUtf8(const QString& text);

}  // namespace mirvel::gui
