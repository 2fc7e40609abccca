#include "Uiservices.h"

#include <cstdio>

namespace ov {

namespace {

class TSilentUIServices : public TUIServices {
public:
    bool AskYesNo(const std::string&, const std::string&, TMessageIcon) override { return true; }
    void ShowMessage(const std::string&, const std::string&, TMessageIcon) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool Interactive() const override { return false; }
};

// One line on stderr: line breaks inside the text become blanks.
void PrintLine(const std::string& caption, const std::string& text, const char* suffix) {
    std::string line = "orvane: " + caption + ": " + text + suffix;
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    std::fprintf(stderr, "%s\n", line.c_str());
}

TSilentUIServices SilentServices;
TUIServices* Installed = nullptr;

} // namespace

TUIServices& UIServices() { return Installed ? *Installed : SilentServices; }

void SetUIServices(TUIServices* services) { Installed = services; }

bool TConsoleUIServices::AskYesNo(const std::string& text, const std::string& caption,
                                   TMessageIcon) {
    PrintLine(caption, text, " (answered yes)");
    return true;
}

void TConsoleUIServices::ShowMessage(const std::string& text, const std::string& caption,
                                     TMessageIcon) {
    PrintLine(caption, text, "");
}

bool TScriptedUIServices::AskYesNo(const std::string& text, const std::string& caption,
                                   TMessageIcon icon) {
    Records.push_back({text, caption, icon, true});
    if (Answers.empty())
        return true;
    bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void TScriptedUIServices::ShowMessage(const std::string& text, const std::string& caption,
                                      TMessageIcon icon) {
    Records.push_back({text, caption, icon, false});
}

TUIServicesGuard::TUIServicesGuard(TUIServices* services) : FPrevious(Installed) {
    Installed = services;
}

TUIServicesGuard::~TUIServicesGuard() { Installed = FPrevious; }

} // namespace ov
