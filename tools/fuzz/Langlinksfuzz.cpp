// libFuzzer target of the langlink table. Any text gives a table whose
// entries all have a dotted extension and whose last three are the text
// types; every listed extension finds the first language listed for it,
// in any letter case; a path finds its extension's language.

#include "Fuzzsupport.h"
#include "Langlinks.h"

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(uint8_t(a[i])) != std::tolower(uint8_t(b[i])))
            return false;
    return true;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ov::TLangLinks links;
    links.LoadFromText(text);
    const auto& entries = links.Entries();
    FUZZ_CHECK(entries.size() >= 3);
    FUZZ_CHECK(entries[entries.size() - 3].Extension == ".txt");
    FUZZ_CHECK(entries[entries.size() - 1].Extension == ".log");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ov::TLangLinks::TEntry& entry = entries[i];
        FUZZ_CHECK(entry.Extension.size() >= 2 && entry.Extension[0] == '.');
        std::size_t first = 0;
        while (!SameAscii(entries[first].Extension, entry.Extension))
            ++first;
        const auto found = links.LanguageOf(Upper(entry.Extension));
        FUZZ_CHECK(found && *found == entries[first].Language);
        if (entry.Extension.find_first_of(std::string_view("./\0", 3), 1) == std::string::npos) {
            const auto byPath = links.LanguageOfFile("/some dir.x/name" + entry.Extension);
            FUZZ_CHECK(byPath == found);
        }
        if (i > 64)
            break; // the rest is the same work again
    }
    return 0;
}
