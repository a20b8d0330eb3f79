#include <filesystem>
#include <string>
#include <vector>

#include "about_windows.h"
#include "process.h"

namespace dv::e2e {
namespace {

namespace fs = std::filesystem;

// Names a DLL dropped into a Downloads folder would take: what Dayvane or
// the system DLLs it uses load by name, at start or later (the imaging
// component and its property store come with the photo).
const wchar_t* const kPlantedNames[] = {L"shcore.dll",  L"propsys.dll",       L"uxtheme.dll", L"version.dll",
                                        L"dwmapi.dll",  L"windowscodecs.dll", L"msimg32.dll", L"cryptbase.dll"};

fs::path artifacts() { return fs::path(testFolder()) / L"planted"; }

// The planted DLLs that some process has loaded since the last call.
std::vector<std::wstring> takeMarkers(const fs::path& folder) {
    std::vector<std::wstring> loaded;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == L".loaded") {
            loaded.push_back(entry.path().stem().wstring());
            fs::remove(entry.path());
        }
    return loaded;
}

std::string joined(const std::vector<std::wstring>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : ", ") + fs::path(n).string();
    return out;
}

bool runToEnd(const fs::path& exe) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          exe.parent_path().c_str(), &startup, &info))
        return false;
    const bool ended = ::WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended) ::TerminateProcess(info.hProcess, 99);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return ended;
}

class PlantedDll : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
        folder = fs::path(temp) / L"Downloads f\u00fcr Dayvane";
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const wchar_t* name : kPlantedNames) fs::copy_file(artifacts() / L"planted.dll", folder / name);
        fs::copy_file(artifacts() / L"plant_control.exe", folder / L"plant_control.exe");
        fs::copy_file(dayvaneExe(), folder / L"Dayvane.exe");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    fs::path folder;
};

TEST_F(PlantedDll, DayvaneNeverLoadsADllDroppedBesideIt) {
    // Without its search locked, a program that loads the same things does
    // run a planted DLL: the markers can show a load.
    ASSERT_TRUE(runToEnd(folder / L"plant_control.exe"));
    const auto control = takeMarkers(folder);
    ASSERT_FALSE(control.empty()) << "no planted DLL ran in the control program";

    Dayvane app;
    ASSERT_TRUE(app.start((folder / L"Dayvane.exe").wstring()));
    // A planted DLL that lacks what Dayvane imports would stop it at start.
    if (app.waitForWindow()) {
        // The About box too: whatever it loads comes after the start.
        app.choose(kAbout);
        EXPECT_TRUE(waitUntil([&] { return shownWindow(app.processId(), L"Dayvane.frmAbout") != nullptr; }, 10s));
        app.post(WM_CLOSE);
        EXPECT_TRUE(app.waitForExit(10s)) << "Dayvane did not end";
    } else {
        ADD_FAILURE() << "Dayvane did not start beside the planted DLLs";
    }

    EXPECT_EQ(joined(takeMarkers(folder)), "") << "loaded by the control: " << joined(control);
}

}  // namespace
}  // namespace dv::e2e
