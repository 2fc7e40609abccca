#pragma once
// The Qt implementation of the user-interface services, and the application
// object of the program.

#include "Uiservices.h"

#include <QApplication>

namespace ov {

class TQtUIServices : public TUIServices {
public:
    bool AskYesNo(const std::string& text, const std::string& caption,
                  TMessageIcon icon) override;
    void ShowMessage(const std::string& text, const std::string& caption,
                     TMessageIcon icon) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
};

// An exception that escapes an event handler is shown in the standard error
// box and the event loop goes on; exceptions never cross Qt's event loop.
class TOVApplication : public QApplication {
public:
    TOVApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The error box; replaced by tests that must not block on a modal box.
    static void ShowException(const std::string& message);
};

// Maps the face names the program's settings use onto fonts that Debian
// ships: 굴림 -> NanumGothic, Tahoma/Verdana -> DejaVu Sans,
// Courier New -> Liberation Mono.
void InstallFontSubstitutions();

// Loads Qt's own Korean translation (qtbase_ko.qm from Qt's translations
// folder, Debian package qt6-translations-l10n) into the application, so
// that stock dialogs and message-box buttons speak the program's language
// whatever the system locale; Korean also becomes the default locale (the
// file dialog's dates and file-type names). False when the file is not
// installed; the stock texts then stay English.
bool InstallKoreanTranslation();

} // namespace ov
