#include "desktop.h"

int main(int argc, char** argv) {
    // Screen coordinates in pixels, whatever DPI Dayvane runs at.
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
