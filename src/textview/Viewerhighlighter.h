#pragma once
// What the text view needs of its highlighter: the language, a highlighting
// run over the document, and the colours of a style id. The view owns one;
// tests hand in their own to paint hand-set style marks.

#include "Ovstrings.h"
#include "Ovsynlangstyle.h"

#include <memory>
#include <string>

namespace ov {

class TViewerHighlighter {
public:
    virtual ~TViewerHighlighter() = default;
    // Reads the language's definitions when name differs from the current one.
    virtual void SetLang(const std::string& name) = 0;
    // Clears and re-marks every style byte of lines; false when there is no
    // language (the marks are then left alone).
    virtual bool Execute(TOVSynStringList& lines) = 0;
    // Text and background colour of a style id whose language slot exists.
    virtual TStyleColors GetStyles(TStyleByte id) const = 0;
};

// The program's highlighter on the shipped syntax folder and, when given,
// the user's own definitions (read first, file by file).
std::unique_ptr<TViewerHighlighter> CreateSyntaxHighlighter(const std::string& folder,
                                                            const std::string& userFolder = {});

} // namespace ov
