// The options command: the dialog saves its settings and asks the window to
// apply them again from the file.

#include "Main.h"

#include "Options.h"

namespace ov {

// Centred over the window (integer halves); the dialog lives for one use.
void TMainForm::Options1Click() {
    TfOptions dialog(this, FControls.Viewer->SynLang(), [this] { ApplySettings(true); });
    dialog.move(x() + width() / 2 - dialog.width() / 2, y() + height() / 2 - dialog.height() / 2);
    dialog.exec();
}

} // namespace ov
