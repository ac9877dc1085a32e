#pragma once

#include <QDialog>
#include <memory>

namespace editor {

// Generated from Unit2.ui in this namespace: the viewer has forms of the same names.
namespace Ui {
class TForm2;
}

// The About box. Its only button is OK: Escape does nothing, only OK and the close box end it.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TForm2> ui;
};

}  // namespace editor
