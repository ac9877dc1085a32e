#pragma once

#include "viewer/SpinRules.h"

#include <QLineEdit>

class QToolButton;

namespace viewer {

// A number box whose text is the truth: reading Value parses what is typed, unclamped, while
// setting a value and stepping clamp to the range, and leaving the box pulls an out-of-range
// value back onto the nearest bound. The arrows step by 1.
class TSpinEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Value READ Value WRITE SetValue)

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void SetMinValue(int value);
    void SetMaxValue(int value);

    int Value() const;
    void SetValue(int value);

    // The arrow buttons, for tests and styling.
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Step(int delta);
    void PlaceButtons();
    bool Accepts(const QString& typed) const;

    int minValue_ = 0;
    int maxValue_ = 0;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace viewer
