// libFuzzer target of the settings store. The input is a settings file
// (any bytes), then writes driven by the rest of the input. Properties: what
// the store holds, written to a file and read back, is what it held; a
// value written under a plain key reads back as written until the next write.

#include "Files.h"
#include "Fuzzsupport.h"
#include "Inifiles.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

void CheckRoundTrip(const ov::TSettingsStore& store) {
    const std::string path = fuzz::Folder() + "again.ini";
    std::filesystem::remove(path);
    ov::TSettingsStore writer(path);
    const std::vector<std::string> held = store.GetStrings();
    writer.SetStrings(held);
    FUZZ_CHECK(writer.GetStrings() == held);
    FUZZ_CHECK(writer.UpdateFile());
    ov::TSettingsStore reader(path);
    FUZZ_CHECK(reader.GetStrings() == held);
    FUZZ_CHECK(reader.ReadSections() == store.ReadSections());
}

// A name the store can hold as a key or section: no "=", no line break, no
// blanks or control characters at either end, not a comment or a section
// line, no "]" (which would end a section name).
bool Storable(const std::string& name) {
    return !name.empty() && name.find_first_of("=\r\n]") == std::string::npos &&
           ov::TrimBlanks(name).size() == name.size() && name[0] != ';' && name[0] != '[';
}

// A value that reads back as written: no line break, no blanks or control
// characters at either end.
bool StorableValue(const std::string& value) {
    return value.find_first_of("\r\n") == std::string::npos &&
           ov::TrimBlanks(value).size() == value.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string file = provider.ConsumeRandomLengthString(4096);
    const std::string path = fuzz::Folder() + "Orvane.ini";
    ov::WriteWholeFile(path, file);
    ov::TSettingsStore store(path);
    CheckRoundTrip(store);

    // Writes of what a settings file can hold; the callers keep other names
    // and values out of the store.
    for (int step = 0; step < 8 && provider.remaining_bytes() > 0; ++step) {
        const std::string section = provider.ConsumeRandomLengthString(16);
        const std::string key = provider.ConsumeRandomLengthString(16);
        const std::string value = provider.ConsumeRandomLengthString(64);
        const int action = provider.ConsumeIntegralInRange(0, 4);
        if (!Storable(section) || !Storable(key) || !StorableValue(value))
            continue;
        switch (action) {
        case 0:
            store.WriteString(section, key, value);
            FUZZ_CHECK(store.ReadString(section, key, "\x01") == value);
            break;
        case 1: {
            const int number = provider.ConsumeIntegral<int>();
            store.WriteInteger(section, key, number);
            FUZZ_CHECK(store.ReadInteger(section, key, number ^ 1) == number);
            break;
        }
        case 2:
            store.DeleteKey(section, key);
            FUZZ_CHECK(!store.ValueExists(section, key));
            break;
        case 3:
            store.EraseSection(section);
            FUZZ_CHECK(!store.SectionExists(section));
            break;
        default:
            store.AddLine(section, key + "=" + value);
            break;
        }
    }
    CheckRoundTrip(store);
    return 0;
}
