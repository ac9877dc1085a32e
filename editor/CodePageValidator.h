#pragma once

#include "common/CodePage.h"

#include <QString>
#include <QValidator>

class QLineEdit;

namespace editor {

// Keeps an edit box within its side's code page and byte limit. Only what the user inserts is
// judged: a character the code page cannot hold is refused, and an insertion that would pass
// the limit is cut from its end at a character boundary (so a typed character past the limit
// is refused and a paste is cut to fit). Text already there, such as a value of 17 or 41
// bytes read from a file, is left alone.
class CodePageValidator : public QValidator {
    Q_OBJECT

public:
    CodePageValidator(QLineEdit& edit, mirvel::CodePage codePage, int maxBytes);

    State validate(QString& input, int& pos) const override;

    // Sets the box's text as shown by the program, which is not an insertion to judge.
    void SetText(const QString& text);

private:
    int ByteLength(const QString& text) const;
    int CharBytes(QStringView character) const;

    QLineEdit& edit_;
    mirvel::CodePage codePage_;
    int maxBytes_;
    QString accepted_;  // the box's text before the change being judged
};

}  // namespace editor
