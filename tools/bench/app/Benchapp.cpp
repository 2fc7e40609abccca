#include "Benchapp.h"

#include "Files.h"
#include "Qtuiservices.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace ov::bench {

void UseProgramFolder() {
    InstallFontSubstitutions();
    const std::string programFolder = ExeFolder() + "../bin/";
    if (FolderExists(programFolder + "Fonts"))
        SetExeFolderOverride(programFolder);
}

long StatusKiB(const char* field) {
    std::FILE* file = std::fopen("/proc/self/status", "r");
    if (!file)
        return -1;
    char line[256];
    long value = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::atol(line + length + 1);
            break;
        }
    }
    std::fclose(file);
    return value;
}

} // namespace ov::bench
