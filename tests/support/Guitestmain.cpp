#include "Qtuiservices.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Offscreen unless the caller asked for a real display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication app(argc, argv);
    ov::InstallFontSubstitutions();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
