#include "editor/Document.h"

#include "editor/ListObserver.h"
#include "common/WordFile.h"

#include <cstring>
#include <string>

namespace editor {
namespace {

class NoObserver : public ListObserver {
public:
    void BeforeReset() override {}
    void AfterReset() override {}
    void BeforeAppend(std::int32_t) override {}
    void AfterAppend() override {}
    void BeforeRemove(std::int32_t) override {}
    void AfterRemove() override {}
    void Changed(std::int32_t, std::int32_t) override {}
};

NoObserver noObserver;

constexpr std::string_view UntitledName = "新規";

// The folder separators as the platform's file dialogs and paths use them.
#ifdef _WIN32
constexpr const char* Separators = "/\\";
#else
constexpr const char* Separators = "/";
#endif

}  // namespace

Document::Document() : words_(1), observer_(&noObserver) {}

std::string Document::ShownName() const
{
    if (fileName_.empty()) return std::string(UntitledName);
    const auto separator = fileName_.find_last_of(Separators);
    return separator == std::string::npos ? fileName_ : fileName_.substr(separator + 1);
}

bool Document::Untitled() const { return ShownName() == UntitledName; }

void Document::SetObserver(ListObserver* observer) { observer_ = observer ? observer : &noObserver; }

void Document::Clear()
{
    observer_->BeforeReset();
    fileName_.clear();
    words_.resize(1);
    words_[0].Francais[0] = 0;
    words_[0].Japonais[0] = 0;
    wordIndex_ = 0;
    modified_ = false;
    observer_->AfterReset();
}

void Document::Select(std::int32_t index)
{
    if (index >= 0 && index < WordCount()) wordIndex_ = index;
}

bool Document::Prev()
{
    if (wordIndex_ <= 0) return false;
    --wordIndex_;
    return true;
}

bool Document::Next()
{
    if (wordIndex_ >= WordCount() - 1) return false;
    ++wordIndex_;
    return true;
}

void Document::Renew(std::string_view francais, std::string_view japonais)
{
    auto& record = words_[static_cast<std::size_t>(wordIndex_)];
    record.SetFrancais(francais);
    record.SetJaponais(japonais);
    observer_->Changed(wordIndex_, wordIndex_);
    modified_ = true;
}

void Document::Add()
{
    const std::int32_t index = WordCount();
    observer_->BeforeAppend(index);
    words_.emplace_back();
    observer_->AfterAppend();
    wordIndex_ = index;
    modified_ = true;
}

void Document::Delete()
{
    if (WordCount() == 1) {
        // The editor never runs without a current pair, so the last one is emptied instead.
        words_[0] = mirvel::TWordRec{};
        observer_->Changed(0, 0);
    } else {
        const auto index = static_cast<std::size_t>(wordIndex_);
        observer_->BeforeRemove(wordIndex_);
        std::memmove(&words_[index], &words_[index + 1],
                     (words_.size() - index - 1) * sizeof(mirvel::TWordRec));
        words_.pop_back();
        observer_->AfterRemove();
        if (wordIndex_ > 0) --wordIndex_;
    }
    modified_ = true;
}

bool Document::Up()
{
    if (wordIndex_ <= 0) return false;
    Exchange(wordIndex_ - 1, wordIndex_);
    --wordIndex_;
    modified_ = true;
    return true;
}

bool Document::Down()
{
    if (wordIndex_ >= WordCount() - 1) return false;
    Exchange(wordIndex_, wordIndex_ + 1);
    ++wordIndex_;
    modified_ = true;
    return true;
}

void Document::Exchange(std::int32_t first, std::int32_t second)
{
    // Only the strings change places: the bytes after them stay with their records.
    auto& a = words_[static_cast<std::size_t>(first)];
    auto& b = words_[static_cast<std::size_t>(second)];
    const std::string francais(a.FrancaisBytes());
    const std::string japonais(a.JaponaisBytes());
    a.SetFrancais(b.FrancaisBytes());
    a.SetJaponais(b.JaponaisBytes());
    b.SetFrancais(francais);
    b.SetJaponais(japonais);
    observer_->Changed(first, second);
}

void Document::Open(const std::string& path)
{
    mirvel::WordList loaded = mirvel::ReadWordFile(path);
    if (loaded.empty()) loaded.resize(1);
    observer_->BeforeReset();
    words_.swap(loaded);
    wordIndex_ = 0;
    fileName_ = path;
    modified_ = false;
    observer_->AfterReset();
}

void Document::Save()
{
    mirvel::WriteWordFile(fileName_, words_);
    modified_ = false;
}

void Document::SaveAs(const std::string& path)
{
    mirvel::WriteWordFile(path, words_);
    fileName_ = path;
    modified_ = false;
}

}  // namespace editor
