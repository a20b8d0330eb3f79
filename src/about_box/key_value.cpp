#include "key_value.h"

namespace dv {

std::string utf8FromUtf16(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

std::optional<std::string> text(const std::vector<std::uint8_t>& bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    // A single byte is no whole character: as good as no data.
    if (units.empty()) return std::nullopt;
    if (units.back() == u'\0') units.pop_back();
    return utf8FromUtf16(units);
}

std::string number(std::vector<std::uint8_t> bytes) {
    if (bytes.back() == 0) bytes.pop_back();
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out = "&h";
    // Stored least significant byte first.
    for (auto b = bytes.rbegin(); b != bytes.rend(); ++b) {
        out += kDigits[*b >> 4];
        out += kDigits[*b & 0xF];
    }
    return out;
}

}  // namespace

std::optional<std::string> keyValueText(const RegistryValue& value, const std::string& previous) {
    // A value without data names nothing, so it counts as absent.
    if (value.bytes.empty()) return std::nullopt;
    switch (value.type) {
        case regtype::kString:
        case regtype::kExpandString:
            return text(value.bytes);
        case regtype::kDword:
            return number(value.bytes);
        default:
            return previous;
    }
}

}  // namespace dv
