#pragma once
// The Qt implementation of the user-interface services, and the application
// object of the program.

#include "Uiservices.h"

#include <QApplication>

#include <string>

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

// Guards the application's connection to the display: Qt ends a process
// that cannot connect with abort() (a core dump) after several lines of its
// own. While it lives, such a failure ends the process with one line on
// standard error, "orvane: no display could be opened" and the hint, and exit
// status 1; Qt's messages of that moment are held back and, when the
// connection succeeds, passed on when the guard ends.
class TDisplayConnectGuard {
public:
    explicit TDisplayConnectGuard(std::string hint);
    ~TDisplayConnectGuard();
    TDisplayConnectGuard(const TDisplayConnectGuard&) = delete;
    TDisplayConnectGuard& operator=(const TDisplayConnectGuard&) = delete;

    // Ends the guard before the destructor does.
    void Release();

private:
    bool FActive = true;
};

// An exception that escapes an event handler is shown in the standard error
// box and the event loop goes on; exceptions never cross Qt's event loop.
// A display that cannot be opened ends the process as TDisplayConnectGuard
// says, with noDisplayHint after the line's first part.
class TOVApplication : private TDisplayConnectGuard, public QApplication {
public:
    TOVApplication(int& argc, char** argv, std::string noDisplayHint = {});
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
