#include "Viewerhighlighter.h"

#include "Ovsynhighlighter.h"

namespace ov {

namespace {

class TSyntaxHighlighter : public TViewerHighlighter {
public:
    TSyntaxHighlighter(const std::string& folder, const std::string& userFolder)
        : FHighlighter(folder, userFolder) {}
    void SetLang(const std::string& name) override { FHighlighter.SetLang(name); }
    bool Execute(TOVSynStringList& lines) override { return FHighlighter.Execute(lines); }
    TStyleColors GetStyles(TStyleByte id) const override { return FHighlighter.GetStyles(id); }

private:
    TOVSynHighlighter FHighlighter;
};

} // namespace

std::unique_ptr<TViewerHighlighter> CreateSyntaxHighlighter(const std::string& folder,
                                                            const std::string& userFolder) {
    return std::make_unique<TSyntaxHighlighter>(folder, userFolder);
}

} // namespace ov
