// The PNG writer: checksums against known values, and a decoder of its own
// stored-block output that gets every pixel back.
#include "automation/PngEncoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace tidemark::automation::test {
namespace {

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

struct Decoded {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;
};

// Reads back what encodePngRgb writes; fails the test on any inconsistency.
std::optional<Decoded> decodeStoredPng(const std::vector<std::uint8_t>& png) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || std::memcmp(png.data(), signature, 8) != 0) return std::nullopt;
    Decoded decoded;
    std::vector<std::uint8_t> zlib;
    size_t at = 8;
    bool ended = false;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = bigEndian32(&png[at]);
        if (at + 12 + length > png.size()) return std::nullopt;
        const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
        const std::uint8_t* data = &png[at + 8];
        if (crc32(&png[at + 4], length + 4) != bigEndian32(data + length)) return std::nullopt;
        if (type == "IHDR") {
            decoded.width = bigEndian32(data);
            decoded.height = bigEndian32(data + 4);
            if (data[8] != 8 || data[9] != 2) return std::nullopt;
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    if (!ended || at != png.size() || zlib.size() < 6) return std::nullopt;
    if ((zlib[0] * 256 + zlib[1]) % 31 != 0 || (zlib[0] & 0x0F) != 8) return std::nullopt;
    std::vector<std::uint8_t> raw;
    size_t pos = 2;
    for (bool last = false; !last;) {
        if (pos + 5 > zlib.size()) return std::nullopt;
        last = (zlib[pos] & 1) != 0;
        if ((zlib[pos] >> 1) != 0) return std::nullopt;   // stored blocks only
        const unsigned length = zlib[pos + 1] | (zlib[pos + 2] << 8);
        const unsigned inverse = zlib[pos + 3] | (zlib[pos + 4] << 8);
        if ((length ^ 0xFFFFu) != inverse || pos + 5 + length > zlib.size()) return std::nullopt;
        raw.insert(raw.end(), zlib.begin() + static_cast<std::ptrdiff_t>(pos + 5),
                   zlib.begin() + static_cast<std::ptrdiff_t>(pos + 5 + length));
        pos += 5 + length;
    }
    if (pos + 4 != zlib.size() || bigEndian32(&zlib[pos]) != adler32(raw.data(), raw.size())) return std::nullopt;
    const size_t rowBytes = static_cast<size_t>(decoded.width) * 3;
    if (raw.size() != (rowBytes + 1) * decoded.height) return std::nullopt;
    for (std::uint32_t y = 0; y < decoded.height; ++y) {
        const size_t row = y * (rowBytes + 1);
        if (raw[row] != 0) return std::nullopt;
        decoded.rgb.insert(decoded.rgb.end(), raw.begin() + static_cast<std::ptrdiff_t>(row + 1),
                           raw.begin() + static_cast<std::ptrdiff_t>(row + 1 + rowBytes));
    }
    return decoded;
}

TEST(PngEncoder, ChecksumsMatchKnownValues) {
    const std::string check = "123456789";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(check.data());
    EXPECT_EQ(crc32(bytes, check.size()), 0xCBF43926u);
    EXPECT_EQ(crc32(bytes + 4, check.size() - 4, crc32(bytes, 4)), 0xCBF43926u);
    const std::string wiki = "Wikipedia";
    EXPECT_EQ(adler32(reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size()), 0x11E60398u);
    EXPECT_EQ(adler32(nullptr, 0), 1u);
}

TEST(PngEncoder, RoundTripsEveryPixel) {
    const std::uint32_t width = 7;
    const std::uint32_t height = 5;
    std::vector<std::uint8_t> rgb;
    for (std::uint32_t i = 0; i < width * height * 3; ++i) rgb.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    const std::vector<std::uint8_t> png = encodePngRgb(width, height, rgb);
    const std::optional<Decoded> decoded = decodeStoredPng(png);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, width);
    EXPECT_EQ(decoded->height, height);
    EXPECT_EQ(decoded->rgb, rgb);
}

TEST(PngEncoder, SplitsLargeImagesIntoSeveralStoredBlocks) {
    const std::uint32_t width = 300;
    const std::uint32_t height = 200;   // 180,200 bytes of scanlines: three blocks
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i % 251);
    const std::optional<Decoded> decoded = decodeStoredPng(encodePngRgb(width, height, rgb));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->rgb, rgb);
}

TEST(PngEncoder, RefusesSizesThatDisagree) {
    EXPECT_TRUE(encodePngRgb(0, 1, {}).empty());
    EXPECT_TRUE(encodePngRgb(2, 2, std::vector<std::uint8_t>(11)).empty());
}

} // namespace
} // namespace tidemark::automation::test
