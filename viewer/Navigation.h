#pragma once

#include "common/WordRec.h"

#include <cstdint>
#include <string>

namespace viewer {

// The card window's word list, position and reveal state, and everything the card shows of
// them. Texts are record bytes: French Windows-1252, Japanese Shift-JIS, UI strings UTF-8.
class Navigation {
public:
    Navigation();

    const mirvel::WordList& Words() const { return words_; }
    std::int32_t WordCount() const { return wordCount_; }
    std::int32_t WordIndex() const { return wordIndex_; }
    // 1: the Japanese label is hidden (French showing); 0: it is visible.
    int RevealTag() const { return revealTag_; }
    const std::string& Order() const { return order_; }
    void SetOrder(std::string order) { order_ = std::move(order); }

    // Takes over a completely read list and goes to its first card. A load that failed never
    // gets here, so the previous list and position stay whole.
    void SwapIn(mirvel::WordList&& words);

    // False (and nothing changes) at the first or last card, and always with zero cards.
    bool Prev();
    bool Next();

    // Puts the card on its question side: only the exact "FJ" means French first.
    void ApplyOrder();
    void ToggleReveal();

    // The current card; empty texts when there is none.
    std::string FrancaisText() const;  // with one trailing space
    std::string JaponaisText() const;
    std::string CounterText() const;  // "3/25", or "0/0" without cards

    bool JaponaisVisible() const { return revealTag_ == 0; }
    int RevealImageIndex() const { return revealTag_ != 0 ? 1 : 0; }
    // The hint and the enabled menu item name the side that the next reveal will show.
    std::string RevealHint() const;
    bool MenuFEnabled() const { return revealTag_ == 0; }
    bool MenuJEnabled() const { return revealTag_ != 0; }

private:
    const mirvel::TWordRec* Current() const;

    mirvel::WordList words_;
    std::int32_t wordCount_ = 0;
    std::int32_t wordIndex_ = 0;
    int revealTag_ = 0;
    std::string order_ = "FJ";
};

}  // namespace viewer
