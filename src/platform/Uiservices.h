#pragma once
// The few user-interface services that code below the widgets needs: a yes/no
// question, a message box and the wait cursor. The application installs the
// Qt implementation at start-up; tests install a scripted double. Code that
// runs with nothing installed gets the silent default (answers yes, shows
// nothing).

#include <deque>
#include <string>
#include <vector>

namespace ov {

enum class TMessageIcon { None, Information, Warning, Error, Question };

class TUIServices {
public:
    virtual ~TUIServices() = default;
    // Texts are UTF-8. Returns true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption,
                          TMessageIcon icon) = 0;
    virtual void ShowMessage(const std::string& text, const std::string& caption,
                             TMessageIcon icon) = 0;
    // Nested calls stack; every Begin is matched by one End.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // False when nobody watches (a snapshot or export run): a caller that
    // already wrote its message to stderr need not send it here too.
    virtual bool Interactive() const { return true; }
};

// The installed services; never null. The object is borrowed, not owned: the
// installer keeps it alive until it installs another or null (the default).
TUIServices& UIServices();
void SetUIServices(TUIServices* services);

// Shows the wait cursor for the life of the object, also when an exception
// leaves the scope.
class TWaitCursor {
public:
    TWaitCursor() { UIServices().BeginWaitCursor(); }
    ~TWaitCursor() { UIServices().EndWaitCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// For runs nobody watches (--snapshot, --export-html): never waits.
// Questions are answered yes, so the run does what it was asked; questions
// and messages go to stderr, one line each ("orvane: caption: text").
class TConsoleUIServices : public TUIServices {
public:
    bool AskYesNo(const std::string& text, const std::string& caption,
                  TMessageIcon icon) override;
    void ShowMessage(const std::string& text, const std::string& caption,
                     TMessageIcon icon) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool Interactive() const override { return false; }
};

// Test double: answers questions from a script (Yes when the script is
// empty) and records every question and message.
class TScriptedUIServices : public TUIServices {
public:
    struct TRecord {
        std::string Text;
        std::string Caption;
        TMessageIcon Icon;
        bool Question;
    };

    bool AskYesNo(const std::string& text, const std::string& caption,
                  TMessageIcon icon) override;
    void ShowMessage(const std::string& text, const std::string& caption,
                     TMessageIcon icon) override;
    void BeginWaitCursor() override { ++WaitDepth; ++WaitCount; }
    void EndWaitCursor() override { --WaitDepth; }

    std::deque<bool> Answers;
    std::vector<TRecord> Records;
    int WaitDepth = 0;
    int WaitCount = 0;
};

// Installs a services object for the life of the guard, then restores the
// previous one.
class TUIServicesGuard {
public:
    explicit TUIServicesGuard(TUIServices* services);
    ~TUIServicesGuard();
    TUIServicesGuard(const TUIServicesGuard&) = delete;
    TUIServicesGuard& operator=(const TUIServicesGuard&) = delete;

private:
    TUIServices* FPrevious;
};

} // namespace ov
