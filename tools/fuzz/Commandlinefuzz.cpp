// libFuzzer target of the command line. The input is an argument list
// (arguments separated by NUL bytes). Any list gives a launch mode without
// failing; a view run with one file argument gets that file back unchanged
// from the command line built for it, and so does a snapshot run.

#include "Commandline.h"
#include "Fuzzsupport.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> argv{"/usr/bin/orvane"};
    while (!input.empty() && argv.size() < 16) {
        std::size_t end = input.find('\0');
        argv.emplace_back(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    const ov::TLaunchOptions options = ov::ParseLaunchArguments(argv);
    FUZZ_CHECK((options.Mode == ov::TLaunchMode::Error) == !options.Error.empty());
    // Whatever the line, parsing it gives some argument and never more text
    // than the line holds.
    const std::string parsed = ov::ParseCommandLine(options.CommandLine);
    FUZZ_CHECK(parsed.size() <= options.CommandLine.size());

    // One file argument (4096 bytes is the system's path limit).
    const std::string& file = argv[1];
    if (argv.size() == 2 && options.Mode == ov::TLaunchMode::View && file.size() < 4096)
        FUZZ_CHECK(ov::ParseCommandLine(options.CommandLine) == file);
    if (argv.size() == 2 && file.size() < 4096) {
        const std::string line = ov::BuildCommandLine({argv[0], file});
        FUZZ_CHECK(ov::ParseCommandLine(line) == file);
        const ov::TLaunchOptions snapshot =
            ov::ParseLaunchArguments({argv[0], "--snapshot", "out.png", file});
        FUZZ_CHECK(snapshot.Mode == ov::TLaunchMode::Snapshot);
        FUZZ_CHECK(ov::ParseCommandLine(snapshot.CommandLine) == file);
    }
    return 0;
}
