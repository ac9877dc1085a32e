#include "common/gui/Guard.h"

#include "common/InOutError.h"
#include "common/gui/Shell.h"
#include "common/gui/TextEdge.h"

#include <new>

namespace mirvel::gui {

bool Guarded(Shell& shell, QWidget* parent, const std::function<void()>& body)
{
    std::string message;
    try {
        body();
        return true;
    } catch (const std::bad_alloc&) {
        message = OutOfMemoryMessage;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "予期しないエラーが発生しました";
    }
    shell.ShowError(parent, FromUtf8(ErrorBoxText(message)));
    return false;
}

}  // namespace mirvel::gui
