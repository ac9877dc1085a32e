#pragma once

#include <QDialog>

namespace mirvel::gui {

// Both programs' About box: its only button is OK, so it has no cancel key either; Escape does
// nothing, only OK and the close box end it.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    AboutBox(QWidget* parent, Qt::WindowFlags flags);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace mirvel::gui
