#include <optional>
#include <string>
#include <vector>

#include "about_box_fixture.h"
#include "about_box/key_value.h"

namespace dv {
namespace {

using fakes::dwordValue;
using fakes::textValue;
using namespace std::string_literals;

constexpr const char* kKey = "SOFTWARE\\Dayvane Tests";
constexpr const char* kName = "Value";

struct KeyValueCase {
    std::string name;
    std::optional<RegistryValue> stored{};  // none: the value is absent
    long openStatus = regstatus::kSuccess;
    bool keyExists = true;
    bool expandFails = false;
    std::string before{};  // what the caller passes in
    bool found = true;
    std::string text{};
};

RegistryValue bytesOf(unsigned long type, std::size_t count, std::uint8_t fill = 'x') {
    return {type, std::vector<std::uint8_t>(count, fill)};
}

std::u16string units(std::size_t count, char16_t c = u'x') { return std::u16string(count, c); }

const std::vector<KeyValueCase> kCases = {
    {.name = "TextWithItsNul", .stored = textValue(u"C:\\Tools\\msinfo32.exe\0"s), .text = "C:\\Tools\\msinfo32.exe"},
    {.name = "TextWithoutNul", .stored = textValue(u"C:\\Tools\\msinfo32.exe"), .text = "C:\\Tools\\msinfo32.exe"},
    {.name = "TextWithTwoNulsKeepsOne", .stored = textValue(u"abc\0\0"s), .text = "abc\0"s},
    {.name = "EmptyTextWithItsNul", .stored = textValue(u"\0"s), .text = ""},
    {.name = "NonAsciiLetters", .stored = textValue(u"C:\\Programme\\Syst\u00e8me \u65e5\u672c\\a.exe\0"s),
     .text = "C:\\Programme\\Syst\xc3\xa8me \xe6\x97\xa5\xe6\x9c\xac\\a.exe"},
    {.name = "SurrogatePairAndLoneSurrogate", .stored = textValue(u"\U0001F600\xD800!"),
     .text = "\xf0\x9f\x98\x80\xef\xbf\xbd!"},
    {.name = "Exactly1024BytesWithNul", .stored = textValue(units(511) + u'\0'), .text = std::string(511, 'x')},
    {.name = "Exactly1024BytesWithoutNul", .stored = textValue(units(512)), .text = std::string(512, 'x')},
    {.name = "Of1025BytesIsTooLong", .stored = bytesOf(regtype::kString, 1025), .found = false, .text = ""},
    {.name = "Of1026BytesIsTooLong", .stored = textValue(units(512) + u'\0'), .found = false, .text = ""},
    {.name = "WithoutDataIsAbsent", .stored = RegistryValue{regtype::kString, {}}, .before = "stale", .found = false,
     .text = ""},
    {.name = "OneByteIsNoCharacter", .stored = bytesOf(regtype::kString, 1), .found = false, .text = ""},
    {.name = "DwordWithZeroTopByte", .stored = dwordValue(0x105), .text = "&h000105"},
    {.name = "DwordWithAllFourBytes", .stored = dwordValue(0x12345678), .text = "&h12345678"},
    {.name = "DwordZero", .stored = dwordValue(0), .text = "&h000000"},
    {.name = "DwordHexIsUpperCase", .stored = dwordValue(0xABCDEF), .text = "&hABCDEF"},
    {.name = "ExpandableTextIsExpanded",
     .stored = textValue(u"%SystemRoot%\\system32\\msinfo32.exe\0"s, regtype::kExpandString),
     .text = "C:\\Windows\\system32\\msinfo32.exe"},
    {.name = "ExpandableTextThatCannotBeExpandedIsAbsent",
     .stored = textValue(u"%SystemRoot%\\msinfo32.exe\0"s, regtype::kExpandString),
     .expandFails = true,
     .found = false,
     .text = ""},
    {.name = "OtherTypeLeavesTheTextAsItWas", .stored = bytesOf(regtype::kBinary, 8), .before = "as it was",
     .text = "as it was"},
    {.name = "MultiStringLeavesEmptyTextEmpty",
     .stored = textValue(u"a\0b\0\0"s, regtype::kMultiString), .text = ""},
    {.name = "AbsentValue", .stored = std::nullopt, .before = "stale", .found = false, .text = ""},
    {.name = "AbsentKey", .keyExists = false, .before = "stale", .found = false, .text = ""},
    {.name = "OpenRefused", .stored = textValue(u"C:\\x.exe"), .openStatus = regstatus::kAccessDenied,
     .before = "stale", .found = false, .text = ""},
};

class GetKeyValue : public AboutBoxTest, public ::testing::WithParamInterface<KeyValueCase> {};

TEST_P(GetKeyValue, ReadsTrimsAndConverts) {
    const KeyValueCase& c = GetParam();
    if (c.keyExists) {
        auto& key = fakes.registry.keys[{kMachine, kKey}];
        key.openStatus = c.openStatus;
        if (c.stored) key.values[kName] = *c.stored;
    }
    fakes.registry.expandFails = c.expandFails;

    std::string value = c.before;
    EXPECT_EQ(box.GetKeyValue(kMachine, kKey, kName, value), c.found);
    EXPECT_EQ(value, c.text);

    // Read through a buffer of 1024 bytes, and closed on every way out.
    for (std::size_t capacity : fakes.registry.capacities) EXPECT_EQ(capacity, kKeyValueBytes);
    EXPECT_EQ(fakes.registry.closed.size(), 1u);
    EXPECT_EQ(fakes.registry.leftOpen(), 0u);
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, GetKeyValue, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(AboutBoxTest, GetKeyValueReadsUnderTheRootItIsGiven) {
    fakes.registry.set(RegistryRoot::CurrentUser, kKey, kName, textValue(u"user"));
    std::string value;
    EXPECT_FALSE(box.GetKeyValue(kMachine, kKey, kName, value));
    EXPECT_TRUE(box.GetKeyValue(RegistryRoot::CurrentUser, kKey, kName, value));
    EXPECT_EQ(value, "user");
}

}  // namespace
}  // namespace dv
