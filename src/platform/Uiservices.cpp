#include "Uiservices.h"

namespace ov {

namespace {

class TSilentUIServices : public TUIServices {
public:
    bool AskYesNo(const std::string&, const std::string&, TMessageIcon) override { return true; }
    void ShowMessage(const std::string&, const std::string&, TMessageIcon) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

TSilentUIServices SilentServices;
TUIServices* Installed = nullptr;

} // namespace

TUIServices& UIServices() { return Installed ? *Installed : SilentServices; }

void SetUIServices(TUIServices* services) { Installed = services; }

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
