// Entry point of the GL test executables: opens the one window exactly as the
// program does, then routes GL errors to the suite.
#include <gtest/gtest.h>

#include "app/Window.h"
#include "tests/support/GlTestSupport.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    nox::getWindow();
    nox::test::installGlErrorRecorder();
    return RUN_ALL_TESTS();
}
