#pragma once
// Helpers of the highlighting tests: documents from lines, a readable form
// of the style marks, and a highlighter over definitions written into a
// temporary folder.

#include "Ovstrings.h"
#include "Ovsynhighlighter.h"
#include "Testsupport.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace ov::test {

void SetLines(TOVSynStringList& lines, std::initializer_list<std::string_view> texts);

// The marks of one row as "col:+id col:-id ...", empty when the row has none.
std::string MarksOf(const TOVSynStringList& lines, int row);

// Every row and its marks, with a legend of the style ids in use:
//   "   3 |int x = 10;" then "     |0:+7 2:-7 8:+1 9:-1" when the row has marks.
std::string MarkDump(const TOVSynStringList& lines, const TOVSynHighlighter& highlighter);

// A temporary Syntax folder holding <name>.syn and <name>.sty files.
class TDefinitionFolder {
public:
    // Writes name.syn; the .sty is written only when style is not empty.
    void Add(const std::string& name, const std::string& syn, const std::string& sty = {});
    const std::string& Path() const { return FFolder.Path(); }
    std::unique_ptr<TOVSynHighlighter> Highlighter(const std::string& language) const;

private:
    TTempFolder FFolder;
};

// Joins lines with CR LF, the way definition files are usually written.
std::string Crlf(std::initializer_list<std::string_view> lines);

// The definition of the scanner tests: Delimiters ;=(){}, // and /* */
// comments, " strings with \ escapes, item 0 holding int and {.
extern const char* const DemoSyntax;

} // namespace ov::test
