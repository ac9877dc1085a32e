#pragma once

#include "common/CodePage.h"

#include <QString>
#include <QValidator>

class QLineEdit;

namespace editor {

// Keeps an edit box within its side's code page and byte limit: each change of its text is
// judged by FitBoxInput (BoxBytes.h), which maps a character with a standard equivalent onto it,
// refuses any other the code page can't hold and cuts an insertion that passes the limit.
class CodePageValidator : public QValidator {
    Q_OBJECT

public:
    CodePageValidator(QLineEdit& edit, mirvel::CodePage codePage, int maxBytes);

    State validate(QString& input, int& pos) const override;

    // Sets the box's text as shown by the program, which is not an insertion to judge.
    void SetText(const QString& text);

private:
    QLineEdit& edit_;
    mirvel::CodePage codePage_;
    int maxBytes_;
    QString accepted_;  // the box's text before the change being judged
};

}  // namespace editor
