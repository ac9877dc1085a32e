#pragma once

#include "common/WordRec.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

class ListObserver;

// The editor's word list and its state. It always holds at least one pair, and WordIndex
// always names one of them, so every command has a current record to act on.
class Document {
public:
    Document();

    const mirvel::WordList& Words() const { return words_; }
    std::int32_t WordCount() const { return static_cast<std::int32_t>(words_.size()); }
    std::int32_t WordIndex() const { return wordIndex_; }
    const mirvel::TWordRec& Current() const { return words_[static_cast<std::size_t>(wordIndex_)]; }
    bool Modified() const { return modified_; }
    // The full path the document was opened from or last saved to; empty when untitled.
    const std::string& FileName() const { return fileName_; }
    // What the window shows for the file (UTF-8): its name without the folder, or "新規".
    std::string ShownName() const;
    // Save turns into Save As. A file whose own name is "新規" can't be told from a new
    // document by what the window shows, so it counts as one too.
    bool Untitled() const;

    // Null for none.
    void SetObserver(ListObserver* observer);

    // A new, untitled one-pair document. Record 0 keeps its bytes apart from the two lengths.
    void Clear();
    // The user picked another pair; out-of-range indexes are ignored.
    void Select(std::int32_t index);
    // False when already at the first (last) pair.
    bool Prev();
    bool Next();
    // Stores the bytes into the current pair, cut to the record's capacities.
    void Renew(std::string_view francais, std::string_view japonais);
    // Appends a zero-filled pair and makes it current.
    void Add();
    // The pair before becomes current (or the new first); the only pair is emptied instead.
    void Delete();
    // Moves the current pair one place; false at the end of the list.
    bool Up();
    bool Down();

    // Reads the whole file and only then replaces the document; a failure changes nothing.
    void Open(const std::string& path);
    // Writes the whole list; on failure the file, the name and Modified stay as they were.
    void Save();
    void SaveAs(const std::string& path);

private:
    void Exchange(std::int32_t first, std::int32_t second);

    mirvel::WordList words_;
    std::int32_t wordIndex_ = 0;
    bool modified_ = false;
    std::string fileName_;
    ListObserver* observer_ = nullptr;
};

}  // namespace editor
