// The system information launcher's registry reads: whatever a value holds
// (any type, any bytes, odd lengths, lone surrogates) becomes well-formed
// UTF-8 text, a hex number, the previous text, or nothing; and the whole
// launcher, with two such values, starts one program or tells the user,
// leaving no key open.
#include "about_box/about_box.h"
#include "about_box/key_value.h"
#include "fakes/fake_services.h"
#include "fuzz_input.h"

using namespace dv;

namespace {

// What utf8FromUtf16 must give: surrogate pairs joined, anything else in
// the surrogate range replaced.
std::u32string expectedCodePoints(const std::u16string& units) {
    std::u32string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        out += c;
    }
    return out;
}

constexpr unsigned long kTypes[] = {regtype::kString, regtype::kExpandString, regtype::kBinary, regtype::kDword,
                                    regtype::kMultiString, 0, 11 /* REG_QWORD */, 0xFFFFFFFF};

void conversion(fuzz::Input& in) {
    RegistryValue value;
    value.type = kTypes[in.byte() % std::size(kTypes)];
    value.bytes = in.rest();
    const std::string previous = "previous";
    const std::optional<std::string> text = keyValueText(value, previous);
    std::u32string decoded;
    if (value.bytes.empty()) return fuzz::check(!text, "a value without data is absent");
    switch (value.type) {
        case regtype::kString:
        case regtype::kExpandString: {
            std::u16string units(value.bytes.size() / 2, u'\0');
            for (std::size_t i = 0; i < units.size(); ++i)
                units[i] = static_cast<char16_t>(value.bytes[2 * i] | value.bytes[2 * i + 1] << 8);
            if (units.empty()) return fuzz::check(!text, "half a character is no text");
            fuzz::check(text.has_value(), "text is read");
            fuzz::check(fuzz::decodeUtf8(*text, decoded), "text is well-formed UTF-8", *text);
            if (units.back() == u'\0') units.pop_back();  // the one terminator, and no more
            fuzz::check(decoded == expectedCodePoints(units), "text keeps every character", *text);
            return;
        }
        case regtype::kDword: {
            fuzz::check(text && text->rfind("&h", 0) == 0, "a number starts with &h");
            const std::size_t bytes = value.bytes.size() - (value.bytes.back() == 0 ? 1 : 0);
            fuzz::check(text->size() == 2 + 2 * bytes, "two hex digits a byte", *text);
            fuzz::check(text->find_first_not_of("0123456789ABCDEF", 2) == std::string::npos, "hex digits", *text);
            return;
        }
        default:
            fuzz::check(text == previous, "another type keeps the previous text");
    }
}

void launcher(fuzz::Input& in) {
    fakes::FakePlatform p;
    const auto value = [&] {
        RegistryValue v;
        v.type = kTypes[in.byte() % std::size(kTypes)];
        const std::string bytes = in.text();
        v.bytes.assign(bytes.begin(), bytes.end());
        return v;
    };
    const std::uint8_t shape = in.byte();
    const auto set = [&](std::string_view key, const char* name) {
        p.registry.keys[{RegistryRoot::LocalMachine, std::string(key)}].values[name] = value();
    };
    if (shape & 1) set(sysinfo::kPathKey, "PATH");
    if (shape & 2) set(sysinfo::kLocationKey, "MSINFO");
    if (shape & 4) p.registry.keys[{RegistryRoot::LocalMachine, std::string(sysinfo::kPathKey)}].openStatus = 5;
    p.registry.expandFails = shape & 8;
    if (shape & 16) p.files.files.insert(in.text());
    if (shape & 32) p.files.files.insert(p.files.system + "\\msinfo32.exe");
    if (shape & 64) p.processes.failure = "failed";
    AboutBox box(p.env(), p.about, p.identity);
    box.StartSysInfo();

    fuzz::check(p.registry.leftOpen() == 0, "every key is closed");
    for (std::size_t capacity : p.registry.capacities) fuzz::check(capacity == kKeyValueBytes, "a 1024-byte buffer");
    const bool started = !p.processes.attempts.empty() && !p.processes.failure && !p.processes.attempts.back().empty();
    const bool told = p.messages.prompts == std::vector<std::string>{std::string(kSysInfoUnavailable)};
    fuzz::check(started != told, "a program starts, or the user is told, not both");
    fuzz::check(p.processes.attempts.size() <= 1, "one start at most");
    std::u32string decoded;
    for (const std::string& path : p.processes.attempts)
        fuzz::check(fuzz::decodeUtf8(path, decoded), "a path made from the registry is UTF-8", path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    if (in.byte() & 1)
        launcher(in);
    else
        conversion(in);
    return 0;
}
