#include "Viewerhighlighter.h"

#include "Ovsynhighlighter.h"

namespace ov {

namespace {

class TSyntaxHighlighter : public TViewerHighlighter {
public:
    explicit TSyntaxHighlighter(const std::string& folder) : FHighlighter(folder) {}
    void SetLang(const std::string& name) override { FHighlighter.SetLang(name); }
    bool Execute(TOVSynStringList& lines) override { return FHighlighter.Execute(lines); }
    TStyleColors GetStyles(TStyleByte id) const override { return FHighlighter.GetStyles(id); }

private:
    TOVSynHighlighter FHighlighter;
};

} // namespace

std::unique_ptr<TViewerHighlighter> CreateSyntaxHighlighter(const std::string& folder) {
    return std::make_unique<TSyntaxHighlighter>(folder);
}

} // namespace ov
