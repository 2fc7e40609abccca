#pragma once
// The extension-to-language table built from "langlink.ini": one line per
// language, "Name=ext1;ext2;..." (extensions without dots). Entries are
// ".ext=Name", every extension of every line in file order, then ".txt=",
// ".ini=" and ".log=" (text with no language). Qt-free, shared by the main
// window and the command-line export.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

class TLangLinks {
public:
    struct TEntry {
        std::string Extension; // with its dot
        std::string Language;  // empty: text without a language
    };

    // Replaces the table with the lines of the file; a missing file gives
    // only the three text entries and returns false. Lines without "=" and
    // empty extensions (";;", a final ";") add no entries.
    bool LoadFromFile(const std::string& fileName);
    // The same from text already read (lines end at CR LF, LF or CR).
    void LoadFromText(std::string_view text);
    // The user's own table over the shipped one: the user's entries come
    // first (so an extension the user names goes to the user's language), a
    // user line replaces the shipped line of the same language (compared
    // without regard to case) in the shipped menu order, and languages only
    // the user has follow the shipped ones. A user text holding NUL bytes is
    // damaged and ignored.
    void LoadFromTexts(std::string_view user, std::string_view shipped);
    // The program's table: the user's langlink.ini (Appfolders.h) over the
    // shipped one. False when the shipped table cannot be read.
    bool LoadProgramTable();
    // The shipped table's path (beside the executable or installed).
    static std::string ShippedFileName();

    // The language of an extension given with its dot (".C" finds ".c"),
    // compared without regard to ASCII case, first entry winning; nullopt
    // when the extension is unlisted. An empty result is a listed text type.
    std::optional<std::string> LanguageOf(std::string_view extension) const;
    // The language of a path's extension, as LanguageOf.
    std::optional<std::string> LanguageOfFile(const std::string& path) const;

    const std::vector<TEntry>& Entries() const { return FEntries; }
    // The names of the file's lines in file order (the language menu).
    const std::vector<std::string>& Names() const { return FNames; }

private:
    struct TLine {
        std::string Name;
        std::vector<std::string> Extensions; // with their dots
    };
    static std::vector<TLine> ParseLines(std::string_view text);

    std::vector<TEntry> FEntries;
    std::vector<std::string> FNames;
};

} // namespace ov
