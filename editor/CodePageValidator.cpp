#include "editor/CodePageValidator.h"

#include "common/gui/TextEdge.h"

#include <QLineEdit>
#include <algorithm>

namespace editor {

namespace {
constexpr QChar ReplacementCharacter(0xFFFD);
}

CodePageValidator::CodePageValidator(QLineEdit& edit, mirvel::CodePage codePage, int maxBytes)
    : QValidator(&edit), edit_(edit), codePage_(codePage), maxBytes_(maxBytes), accepted_(edit.text())
{
    connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
}

void CodePageValidator::SetText(const QString& text)
{
    accepted_ = text;
    edit_.setText(text);
}

int CodePageValidator::CharBytes(QStringView character) const
{
    // Bytes that the code page could not decode are shown as U+FFFD; they stand for one byte.
    if (character.size() == 1 && character[0] == ReplacementCharacter) return 1;
    const auto bytes = codePage_ == mirvel::CodePage::Windows1252
                           ? mirvel::gui::ToFrancais(character.toString())
                           : mirvel::gui::ToJaponais(character.toString());
    return bytes ? static_cast<int>(bytes->size()) : -1;
}

int CodePageValidator::ByteLength(const QString& text) const
{
    int total = 0;
    for (qsizetype i = 0; i < text.size(); ++i) total += std::max(CharBytes(QStringView(text).mid(i, 1)), 1);
    return total;
}

QValidator::State CodePageValidator::validate(QString& input, int& pos) const
{
    // The inserted part is what lies between the longest common start and end of the two
    // texts. Characters outside the Basic Multilingual Plane (an emoji, a flag) fit neither
    // code page; each half of their surrogate pair is refused on its own, so that a pair is
    // never judged, or stored, as the "?" a lone half converts to.
    const QString& before = accepted_;
    const qsizetype shorter = std::min(before.size(), input.size());
    qsizetype start = 0;
    while (start < shorter && before[start] == input[start]) ++start;
    qsizetype end = 0;
    while (end < shorter - start && before[before.size() - 1 - end] == input[input.size() - 1 - end]) ++end;
    qsizetype insertedEnd = input.size() - end;

    for (qsizetype i = start; i < insertedEnd; ++i) {
        if (input[i].isSurrogate() || CharBytes(QStringView(input).mid(i, 1)) < 0) return Invalid;
    }

    int total = ByteLength(input);
    if (total <= maxBytes_) return Acceptable;
    // A value already longer than the limit may be edited, but never made longer.
    const int ceiling = std::max(maxBytes_, ByteLength(before));
    const qsizetype insertedLength = insertedEnd - start;
    while (total > ceiling && insertedEnd > start) {
        total -= CharBytes(QStringView(input).mid(insertedEnd - 1, 1));
        input.remove(insertedEnd - 1, 1);
        if (pos >= insertedEnd) --pos;
        --insertedEnd;
    }
    // Nothing of the insertion fits: refuse the keystroke (or paste) as a whole.
    if (total > ceiling || (insertedLength > 0 && insertedEnd == start)) return Invalid;
    return Acceptable;
}

}  // namespace editor
