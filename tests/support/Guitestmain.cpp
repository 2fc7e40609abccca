#include "Qtuiservices.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    // The user's own settings and definitions stay out of reach: a program
    // that is not portable keeps them under these folders.
    ov::test::TTempFolder userFolders;
    setenv("XDG_CONFIG_HOME", userFolders.File("config").c_str(), 1);
    setenv("XDG_DATA_HOME", userFolders.File("data").c_str(), 1);
    // Offscreen unless the caller asked for a real display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Listing the cases (ctest's discovery) needs no application.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            testing::InitGoogleTest(&argc, argv);
            return RUN_ALL_TESTS();
        }
    ov::TOVApplication app(argc, argv);
    ov::InstallFontSubstitutions();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
