#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace mirvel::test {

// For tests that run a real modal window: `act` runs against it as soon as it is up, and a
// dialog still open five seconds later is ended as a failure, so that no test can block.
inline void WhenModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QTimer::singleShot(5000, [dialog] {
            if (dialog && dialog->isVisible()) {
                ADD_FAILURE() << "still open";
                dialog->done(QDialog::Rejected);
            }
        });
        act(QApplication::activeModalWidget());
    });
}

}  // namespace mirvel::test
