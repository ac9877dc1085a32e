#pragma once

#include "common/gui/Shell.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace mirvel::test {

// A scripted Shell: tests queue the answers of dialogs and prompts, and read back what was
// asked. An unscripted file dialog is cancelled, an unscripted prompt answered No and an
// unscripted modal dialog rejected without being shown.
class FakeShell : public gui::Shell {
public:
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<bool> yesNoAnswers;
    // Each runs against the dialog (it may click its controls) and returns its result.
    std::deque<std::function<int(QDialog&)>> modalScripts;
    std::optional<QRect> workArea = QRect(0, 0, 1024, 738);
    std::vector<QWidget*> forms;

    std::vector<gui::FileDialogOptions> openCalls;
    std::vector<gui::FileDialogOptions> saveCalls;
    std::vector<std::pair<QString, QString>> prompts;  // caption, text
    std::vector<QString> errors;
    std::vector<QString> modalDialogs;  // objectName of each dialog run
    // The order in which things were asked, e.g. {"prompt", "save", "open"}.
    std::vector<QString> events;

    std::optional<QString> GetOpenFileName(QWidget*, const gui::FileDialogOptions& options) override
    {
        openCalls.push_back(options);
        events.push_back("open");
        // As the platform's dialog looks up a name typed without extension.
        auto answer = PopAnswer(openAnswers);
        if (answer) return gui::OpenedFileName(*answer, options.defaultExtension);
        return answer;
    }
    std::optional<QString> GetSaveFileName(QWidget*, const gui::FileDialogOptions& options) override
    {
        saveCalls.push_back(options);
        events.push_back("save");
        auto answer = PopAnswer(saveAnswers);
        if (answer) return gui::WithDefaultExtension(*answer, options.defaultExtension);
        return answer;
    }
    bool AskYesNo(QWidget*, const QString& caption, const QString& text) override
    {
        prompts.emplace_back(caption, text);
        events.push_back("prompt");
        if (yesNoAnswers.empty()) return false;
        const bool yes = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return yes;
    }
    void ShowError(QWidget*, const QString& text) override
    {
        errors.push_back(text);
        events.push_back("error");
    }
    int ExecModal(QDialog& dialog) override
    {
        modalDialogs.push_back(dialog.objectName());
        events.push_back("modal");
        if (modalScripts.empty()) return QDialog::Rejected;
        auto script = std::move(modalScripts.front());
        modalScripts.pop_front();
        return script(dialog);
    }
    std::optional<QRect> WorkArea() override { return workArea; }
    std::vector<QWidget*> FormsInScreenOrder() override { return forms; }

private:
    static std::optional<QString> PopAnswer(std::deque<std::optional<QString>>& queue)
    {
        std::optional<QString> answer;
        if (!queue.empty()) {
            answer.swap(queue.front());
            queue.pop_front();
        }
        return answer;
    }
};

}  // namespace mirvel::test
