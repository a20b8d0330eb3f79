#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "win32.h"

#include <wincodec.h>

#include "assets/resource_ids.h"
#include "handles.h"
#include "support.h"

namespace dv::test {
namespace {

using win32::ComPtr;

// --- the icon ------------------------------------------------------------

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

std::set<std::pair<int, int>> iconDirectory() {
    std::set<std::pair<int, int>> sizes;
    HRSRC found = ::FindResourceW(instance(), MAKEINTRESOURCEW(IDI_DAYVANE), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    if (!found) return sizes;
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(instance(), found)));
    const auto* header = reinterpret_cast<const GroupIconHeader*>(bytes);
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(bytes + sizeof(GroupIconHeader));
    for (int i = 0; i < header->count; ++i)
        sizes.insert({entries[i].width ? entries[i].width : 256, entries[i].height ? entries[i].height : 256});
    return sizes;
}

const std::pair<int, int> kIconSizes[] = {{16, 16}, {20, 20},   {24, 24},   {32, 32},   {40, 40},  {48, 48},
                                          {64, 64}, {96, 96},   {128, 128}, {256, 256}, {122, 117}};

TEST(IconResource, DirectoryListsEverySize) {
    const std::set<std::pair<int, int>> expected(std::begin(kIconSizes), std::end(kIconSizes));
    EXPECT_EQ(iconDirectory(), expected);
}

class IconImage : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(IconImage, LoadsAtItsOwnSize) {
    const auto [width, height] = GetParam();
    win32::UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(instance(), MAKEINTRESOURCEW(IDI_DAYVANE), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    ASSERT_TRUE(colour) << "a colour icon";
    BITMAP bm{};
    ::GetObjectW(colour.get(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, width);
    EXPECT_EQ(bm.bmHeight, height);
}

INSTANTIATE_TEST_SUITE_P(Sizes, IconImage, ::testing::ValuesIn(kIconSizes), [](const auto& info) {
    return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
});

// --- the photo -------------------------------------------------------------

TEST(PhotoResource, IsA400By300JpegThatDecodes) {
    HRSRC found = ::FindResourceW(instance(), MAKEINTRESOURCEW(IDR_PHOTO), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    ASSERT_NE(found, nullptr);
    auto* bytes = static_cast<BYTE*>(::LockResource(::LoadResource(instance(), found)));
    ComPtr<IWICImagingFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(
        ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put())));
    ComPtr<IWICStream> stream;
    ASSERT_HRESULT_SUCCEEDED(factory->CreateStream(stream.put()));
    ASSERT_HRESULT_SUCCEEDED(stream->InitializeFromMemory(bytes, ::SizeofResource(instance(), found)));
    ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_HRESULT_SUCCEEDED(
        factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad, decoder.put()));
    GUID format{};
    ASSERT_HRESULT_SUCCEEDED(decoder->GetContainerFormat(&format));
    EXPECT_TRUE(::IsEqualGUID(format, GUID_ContainerFormatJpeg));
    ComPtr<IWICBitmapFrameDecode> frame;
    ASSERT_HRESULT_SUCCEEDED(decoder->GetFrame(0, frame.put()));
    UINT width = 0, height = 0;
    ASSERT_HRESULT_SUCCEEDED(frame->GetSize(&width, &height));
    EXPECT_EQ(width, 400u);
    EXPECT_EQ(height, 300u);
    // Decoding to the end catches a file cut short.
    std::string pixels(width * height * 3, '\0');
    EXPECT_HRESULT_SUCCEEDED(frame->CopyPixels(nullptr, width * 3, static_cast<UINT>(pixels.size()),
                                               reinterpret_cast<BYTE*>(pixels.data())));
}

// --- the program's version record -------------------------------------------------

std::wstring programPath() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"..\\..\\Dayvane.exe";
}

class ProgramVersion : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(programPath().c_str(), &ignored);
        ASSERT_NE(size, 0u) << "no version record in Dayvane.exe beside the tests";
        data_.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoW(programPath().c_str(), 0, size, data_.data()));
    }

    std::wstring text(const wchar_t* name) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(data_.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
            return L"<missing>";
        return std::wstring(value, length && !value[length - 1] ? length - 1 : length);
    }

    std::string data_;
};

TEST_F(ProgramVersion, StringsNameTheProduct) {
    EXPECT_EQ(text(L"FileVersion"), L"1.00");
    EXPECT_EQ(text(L"ProductVersion"), L"1.00");
    EXPECT_EQ(text(L"ProductName"), L"Dayvane-Free Version");
    EXPECT_EQ(text(L"InternalName"), L"Dayvane");
    EXPECT_EQ(text(L"OriginalFilename"), L"Dayvane.exe");
}

TEST_F(ProgramVersion, NumbersAreOneZeroZeroZero) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

}  // namespace
}  // namespace dv::test
