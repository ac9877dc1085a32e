#include "editor/CodePageValidator.h"

#include "editor/BoxBytes.h"

#include <QLineEdit>

namespace editor {

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

QValidator::State CodePageValidator::validate(QString& input, int& pos) const
{
    std::u16string text = input.toStdU16String();
    auto caret = static_cast<std::size_t>(pos);
    if (!FitBoxInput(codePage_, static_cast<std::size_t>(maxBytes_), accepted_.toStdU16String(), text, caret))
        return Invalid;
    input = QString::fromStdU16String(text);
    pos = static_cast<int>(caret);
    return Acceptable;
}

}  // namespace editor
