#pragma once
// The settings store: the whole settings file held in memory as sections of
// key=value lines. Section and key names compare without regard to ASCII
// letter case; the spelling first written is kept. The file and the values
// are UTF-8 throughout (find texts, paths, font names); a line of a file
// that is not well-formed UTF-8 was written in the code page (CP949) and is
// read as such, so settings of older versions keep their Korean texts and
// are written back as UTF-8. Reading never fails: a missing section or key, or a value that
// does not read as the asked type, gives the caller's default. Comment lines
// (";" first) are kept where they stand and written back, but are never
// keys or values.

#include "Files.h"

#include <string>
#include <string_view>
#include <vector>

namespace ov {

class TSettingsStore {
public:
    // An empty store bound to no file; UpdateFile then writes nothing.
    TSettingsStore() = default;
    // Loads fileName whole. A missing, unreadable or empty file gives an
    // empty store; any bytes give some store, never an error.
    explicit TSettingsStore(std::string fileName);

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal text with an optional sign, within 32 bits; anything else
    // (empty, hexadecimal, trailing letters, overflow) reads as the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // True when the value reads as an integer other than 0.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Replaces the key's line, or appends one to the section (created at the
    // end when missing).
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Appends a line as it is (the section created at the end when missing),
    // without looking for a line of the same key: for keys that may hold "="
    // themselves, which a lookup would cut at the first "=".
    void AddLine(std::string_view section, std::string_view line);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::vector<std::string> ReadSections() const;
    // The section's lines as they are held: key, "=", value, in file order
    // (a line without "=" is kept as it was read); comments left out. Empty
    // for a missing section.
    std::vector<std::string> ReadSectionValues(std::string_view section) const;
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);
    void Clear();

    // Replaces the whole content by the INI lines given: "[name]" opens a
    // section, other lines belong to the section above them. Lines are
    // trimmed of blanks and control characters, blanks around the first "="
    // are dropped; empty lines and lines before the first section are
    // skipped, except ";" comments, which are kept in place. A section named
    // twice is read as one.
    void SetStrings(const std::vector<std::string>& lines);
    // The content as INI lines: comments before the first section, then
    // each section followed by an empty line.
    std::vector<std::string> GetStrings() const;

    // True when a line added to a section (AddLine) reads back from the
    // file as the same line: no line break, nothing SetStrings trims or
    // drops, not a comment and not a section header.
    static bool KeepsLine(std::string_view line);

    // Reads the bound file again and replaces the content (a UTF-8
    // byte-order mark at its start is skipped; a line that is not UTF-8 is
    // read as CP949). When the file cannot be read
    // the content stays as it was and false is returned.
    bool Reload();
    // Writes the content to the bound file with WriteFileAtomically, so a
    // failure leaves the old file whole, a link stays a link and the file's
    // mode is kept. Says why it failed; no store bound to a file fails with
    // EINVAL.
    TWriteResult UpdateFile() const;

private:
    struct TSection {
        std::string Name;
        std::vector<std::string> Lines;
    };

    const TSection* FindSection(std::string_view section) const;
    TSection* FindSection(std::string_view section);
    TSection& AddSection(std::string_view section);
    static int IndexOfName(const TSection& section, std::string_view key);

    std::string FFileName;
    std::vector<std::string> FPreamble; // comments before the first section
    std::vector<TSection> FSections;
};

// The text without the blanks and control characters (bytes up to 32) at
// either end.
std::string_view TrimBlanks(std::string_view text);

// Splits text into lines at CR LF, LF and CR. A final line break does not
// start another line.
std::vector<std::string> SplitLines(std::string_view text);

// Case-insensitive equality of ASCII letters; other bytes compare exactly.
bool SameText(std::string_view a, std::string_view b);

// The text before the first "=" of a key=value line (the whole line when it
// has none), and the text after it (empty when it has none).
std::string_view NameOfLine(std::string_view line);
std::string_view ValueOfLine(std::string_view line);

// Decimal integer text (optional sign, blanks around it allowed) within 32
// bits; false for anything else.
bool TryParseInteger(std::string_view text, int& value);

// The settings file: "Orvane.ini" beside the executable (portable layout) or
// in the user's configuration folder (SettingsFilePath in Appfolders.h).
std::string SettingsFileName();

// The program's save of a settings store: creates the file's folder when it
// is missing (the first save of an installed program makes
// ~/.config/orvane), then UpdateFile. Says why nothing was written.
TWriteResult SaveSettingsFile(const TSettingsStore& store);

} // namespace ov
