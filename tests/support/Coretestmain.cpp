#include "Testsupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // The user's own settings and definitions stay out of reach: a program
    // that is not portable keeps them under these folders.
    ov::test::TTempFolder userFolders;
    setenv("XDG_CONFIG_HOME", userFolders.File("config").c_str(), 1);
    setenv("XDG_DATA_HOME", userFolders.File("data").c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
