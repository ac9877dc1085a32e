#pragma once

#include "common/gui/AboutBox.h"

#include <memory>

namespace editor {

// Generated from Unit2.ui in this namespace: the viewer has forms of the same names.
namespace Ui {
class TForm2;
}

// The About box.
class TForm2 : public mirvel::gui::AboutBox {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

private:
    std::unique_ptr<Ui::TForm2> ui;
};

}  // namespace editor
