#include "cp1251.h"

#include <array>
#include <cstdint>

namespace helpgen {

namespace {

// The characters of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order. Byte 0x98 is
// unassigned: its 0 never matches, as characters below 0x80 are looked up before the table.
constexpr std::array<char32_t, 64> upperHalf{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  //
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  //
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  //
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  //
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  //
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

std::optional<unsigned char> byteOf(char32_t c) {
    if (c < 0x80) {
        return static_cast<unsigned char>(c);
    }
    if (c >= 0x0410 && c <= 0x044F) {
        return static_cast<unsigned char>(0xC0 + (c - 0x0410));
    }
    for (std::size_t i = 0; i < upperHalf.size(); ++i) {
        if (upperHalf[i] == c) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// Decodes the character at text[i] and moves i past it; nothing for a malformed sequence.
std::optional<char32_t> next(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    int length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        c = lead & 0x07;
    } else {
        return std::nullopt;
    }
    for (int k = 0; k < length; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    constexpr std::array<char32_t, 4> smallest{0, 0x80, 0x800, 0x10000};
    if (c < smallest[static_cast<std::size_t>(length)] || c > 0x10FFFF ||
        (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;  // overlong, beyond Unicode, or a surrogate
    }
    return c;
}

}  // namespace

std::optional<std::string> toWindows1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> c = next(utf8, i);
        if (!c) {
            return std::nullopt;
        }
        if (const std::optional<unsigned char> byte = byteOf(*c)) {
            out += static_cast<char>(*byte);
        } else {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(*c)) + ';';
        }
    }
    return out;
}

}  // namespace helpgen
