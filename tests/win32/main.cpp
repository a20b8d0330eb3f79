#include <gtest/gtest.h>

#include "handles.h"

int main(int argc, char** argv) {
    // The picture box decodes its photo with WIC, as Dayvane's own start-up allows.
    dv::win32::ComApartment com;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
