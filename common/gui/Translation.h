#pragma once

namespace mirvel::gui {

// Makes the texts Qt draws itself (message box buttons, the edit boxes' menu, file dialogs)
// Japanese, whatever the system's locale: the programs speak Japanese only. The catalogue is
// built into the executable. Call after the QApplication is made and before the first window;
// calling again does nothing. False when the catalogue could not be loaded.
bool InstallJapaneseQtTexts();

}  // namespace mirvel::gui
