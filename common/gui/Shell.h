#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

class QDialog;

namespace mirvel::gui {

// A common file dialog as the programs declare it. `filter` is in the "description|pattern"
// form ("Mirvel files (*.mirvel)|*.mirvel"); patterns match regardless of case.
struct FileDialogOptions {
    QString filter;
    QString defaultExtension;  // without the dot; see WithDefaultExtension and OpenedFileName
    QString initialFolder;     // used when nothing is proposed
    QString proposedFile;      // the file last chosen in this dialog, or empty
};

// Everything the programs ask of the desktop around them. The programs use QtShell; tests use a
// scripted fake, so that no test ever blocks on a real modal dialog.
class Shell {
public:
    virtual ~Shell() = default;

    // The chosen path, or nullopt when the user cancelled. No must-exist test, no overwrite
    // question.
    virtual std::optional<QString> GetOpenFileName(QWidget* parent, const FileDialogOptions& options) = 0;
    virtual std::optional<QString> GetSaveFileName(QWidget* parent, const FileDialogOptions& options) = 0;

    // A Yes/No message box without icon, Yes the default; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;

    // The standard error box: the application title, the error icon, an OK button. `text` is
    // shown as given (the caller has applied the full-stop rule).
    virtual void ShowError(QWidget* parent, const QString& text) = 0;

    // Runs a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int ExecModal(QDialog& dialog) = 0;

    // The primary screen's work area (without the task bar), or nullopt when it can't be read.
    virtual std::optional<QRect> WorkArea() = 0;

    // The program's top-level forms in screen order: the most recently activated first, then
    // the others, never-activated ones in creation order.
    virtual std::vector<QWidget*> FormsInScreenOrder() = 0;
};

// The Qt implementation. It also keeps the forms' activation order, so it must be created
// after the QApplication and before the forms.
class QtShell : public Shell {
public:
    QtShell();
    ~QtShell() override;

    std::optional<QString> GetOpenFileName(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> GetSaveFileName(QWidget* parent, const FileDialogOptions& options) override;
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    int ExecModal(QDialog& dialog) override;
    std::optional<QRect> WorkArea() override;
    std::vector<QWidget*> FormsInScreenOrder() override;

private:
    class ActivationTracker;
    ActivationTracker* tracker_;
};

// How the platform's file dialog matches patterns against file names.
enum class PatternCase { Sensitive, Insensitive };
#ifdef _WIN32
constexpr PatternCase PlatformPatternCase = PatternCase::Insensitive;
#else
constexpr PatternCase PlatformPatternCase = PatternCase::Sensitive;
#endif

// "desc|pattern|desc|pattern" to Qt's "desc (pattern)" name filters, one per pair, whose
// patterns match regardless of case under the given matching and give a name typed without
// extension a lower-case one.
QStringList NameFiltersFromFilter(const QString& filter, PatternCase patternCase = PlatformPatternCase);

// The folder a file dialog opens in: the proposed file's folder, else the initial folder.
QString DialogStartPath(const FileDialogOptions& options);

// Save: appends ".ext" to a chosen name that has no extension.
QString WithDefaultExtension(const QString& path, const QString& defaultExtension);

// Open: the name as given when that file exists or the name with the default extension
// doesn't; otherwise the name with it, as the platform's open dialog looks a name up.
QString OpenedFileName(const QString& path, const QString& defaultExtension);

}  // namespace mirvel::gui
