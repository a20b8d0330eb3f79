#include <gtest/gtest.h>

#include <string>

#include "handles.h"

int main(int argc, char** argv) {
    // A copy started by the launch tests only leaves "<its own path>.ran" beside itself.
    wchar_t self[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"DAYVANE_LAUNCHED", nullptr, 0) && ::GetModuleFileNameW(nullptr, self, MAX_PATH))
        return !dv::win32::UniqueHandle(::CreateFileW((std::wstring(self) + L".ran").c_str(), GENERIC_WRITE, 0,
                                                      nullptr, CREATE_ALWAYS, 0, nullptr));
    // The picture box decodes its photo with WIC, as Dayvane's own start-up allows.
    dv::win32::ComApartment com;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
