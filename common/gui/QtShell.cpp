#include "common/gui/Shell.h"

#include <QApplication>
#include <QDialog>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <algorithm>

namespace mirvel::gui {

// Keeps the program's top-level windows in the order the system's form list would hold them:
// the most recently activated first, never-activated ones after, in the order they were seen.
class QtShell::ActivationTracker : public QObject {
public:
    ActivationTracker() { qApp->installEventFilter(this); }

    std::vector<QWidget*> Forms()
    {
        std::vector<QWidget*> result;
        Prune();
        for (const auto& w : activated_) result.push_back(w);
        for (const auto& w : seen_)
            if (std::find(result.begin(), result.end(), w.data()) == result.end()) result.push_back(w);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (std::find(result.begin(), result.end(), w) == result.end() && IsForm(w)) result.push_back(w);
        return result;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->isWindow() && IsForm(widget)) {
            if (event->type() == QEvent::Polish || event->type() == QEvent::Show) Remember(widget);
            if (event->type() == QEvent::WindowActivate) {
                Remember(widget);
                Prune();
                activated_.erase(std::remove(activated_.begin(), activated_.end(), widget), activated_.end());
                activated_.insert(activated_.begin(), widget);
            }
        }
        return false;
    }

private:
    static bool IsForm(QWidget* w)
    {
        return w->isWindow() && !(w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip);
    }
    void Remember(QWidget* widget)
    {
        Prune();
        if (std::find(seen_.begin(), seen_.end(), widget) == seen_.end()) seen_.emplace_back(widget);
    }
    void Prune()
    {
        auto gone = [](const QPointer<QWidget>& p) { return p.isNull(); };
        activated_.erase(std::remove_if(activated_.begin(), activated_.end(), gone), activated_.end());
        seen_.erase(std::remove_if(seen_.begin(), seen_.end(), gone), seen_.end());
    }

    std::vector<QPointer<QWidget>> activated_;
    std::vector<QPointer<QWidget>> seen_;
};

QtShell::QtShell() : tracker_(new ActivationTracker) {}
QtShell::~QtShell() { delete tracker_; }

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogOptions& options, bool save)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Names of files that don't exist are accepted; the caller decides what they mean.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(NameFiltersFromFilter(options.filter));
    // Qt's own dialog would append the extension to every name, also in Open, where a file
    // named without one must open as it is; the rules are applied to its answer instead.
    if (save) dialog.setDefaultSuffix(options.defaultExtension);
    const QString start = DialogStartPath(options);
    if (!options.proposedFile.isEmpty())
        dialog.selectFile(start);
    else if (!start.isEmpty())
        dialog.setDirectory(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    return save ? WithDefaultExtension(chosen, options.defaultExtension)
                : OpenedFileName(chosen, options.defaultExtension);
}

// Qt makes No the escape answer of a Yes/No box. Here neither Escape nor the close box answers:
// at the prompt before changes are dropped, either would throw them away unasked.
class YesNoBox : public QMessageBox {
public:
    YesNoBox(QWidget* parent, const QString& caption, const QString& text)
        : QMessageBox(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, parent)
    {
        setDefaultButton(QMessageBox::Yes);
        setTextFormat(Qt::PlainText);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        // A click on Yes or No hides the box without a close event; anything else is refused.
        event->ignore();
    }
};

}  // namespace

std::optional<QString> QtShell::GetOpenFileName(QWidget* parent, const FileDialogOptions& options)
{
    return RunFileDialog(parent, options, false);
}

std::optional<QString> QtShell::GetSaveFileName(QWidget* parent, const FileDialogOptions& options)
{
    return RunFileDialog(parent, options, true);
}

bool QtShell::AskYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    YesNoBox box(parent, caption, text);
    return box.exec() == QMessageBox::Yes;
}

void QtShell::ShowError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    // The message may hold a file name or a settings value, which are never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

int QtShell::ExecModal(QDialog& dialog) { return dialog.exec(); }

std::optional<QRect> QtShell::WorkArea()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return screen->availableGeometry();
}

std::vector<QWidget*> QtShell::FormsInScreenOrder() { return tracker_->Forms(); }

}  // namespace mirvel::gui
