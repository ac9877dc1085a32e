#include "viewer/Navigation.h"

namespace viewer {

Navigation::Navigation() : words_(1)
{
    // Before any file is loaded the list holds one empty record that doesn't count.
}

void Navigation::SwapIn(mirvel::WordList&& words)
{
    words_.swap(words);
    wordCount_ = static_cast<std::int32_t>(words_.size());
    wordIndex_ = 0;
}

bool Navigation::Prev()
{
    if (wordIndex_ <= 0) return false;
    --wordIndex_;
    return true;
}

bool Navigation::Next()
{
    if (wordIndex_ >= wordCount_ - 1) return false;
    ++wordIndex_;
    return true;
}

void Navigation::ApplyOrder() { revealTag_ = order_ == "FJ" ? 1 : 0; }

void Navigation::ToggleReveal() { revealTag_ = revealTag_ != 0 ? 0 : 1; }

const mirvel::TWordRec* Navigation::Current() const
{
    if (wordIndex_ < 0 || wordIndex_ >= wordCount_) return nullptr;
    return &words_[static_cast<std::size_t>(wordIndex_)];
}

std::string Navigation::FrancaisText() const
{
    const mirvel::TWordRec* record = Current();
    if (!record) return {};
    std::string text(record->FrancaisBytes());
    text += ' ';
    return text;
}

std::string Navigation::JaponaisText() const
{
    const mirvel::TWordRec* record = Current();
    return record ? std::string(record->JaponaisBytes()) : std::string();
}

std::string Navigation::CounterText() const
{
    const std::int32_t shown = wordCount_ > 0 ? wordIndex_ + 1 : 0;
    return std::to_string(shown) + "/" + std::to_string(wordCount_);
}

std::string Navigation::RevealHint() const { return revealTag_ != 0 ? "日本語" : "フランス語"; }

}  // namespace viewer
