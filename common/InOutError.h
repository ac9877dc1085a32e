#pragma once

#include <stdexcept>
#include <string>

namespace mirvel {

// Error codes of the word-list file procedures. 2 to 5 are the Windows error numbers; other
// platforms map their own numbers onto them.
enum IoCode : int {
    IoFileNotFound = 2,
    IoPathNotFound = 3,
    IoTooManyOpenFiles = 4,
    IoAccessDenied = 5,
    IoReadPastEnd = 100,
    IoDiskFull = 101,
    IoInvalidNumeric = 106,
};

// The Japanese message for a code, "I/O エラー (%d)" for codes without a message of their own.
std::string IoErrorMessage(int code);

// Every failure the programs report is one of these two; what() is the UTF-8 message.
class InOutError : public std::runtime_error {
public:
    explicit InOutError(int code);
    int Code() const { return code_; }

private:
    int code_;
};

class MessageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What every program says when memory runs out, whether an allocation failed or a size was
// refused before trying.
inline constexpr char OutOfMemoryMessage[] = "メモリが足りません";

// The error box's text: an ASCII "." is appended when the first byte of the message's last
// character, in Shift-JIS, is above 0x2E (so "... (5)" gets none). Message and result are UTF-8.
std::string ErrorBoxText(const std::string& message);

}  // namespace mirvel
