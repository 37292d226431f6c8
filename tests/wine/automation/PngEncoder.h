// A self-contained PNG writer for window captures: 8-bit RGB, no filtering,
// zlib data in stored (uncompressed) deflate blocks. Captures are small and
// only need to be correct, not compact, so no compression library is needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tidemark::automation {

// CRC-32 as PNG chunks use it (ISO 3309, reflected, 0xEDB88320).
std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t previous = 0);
// Adler-32 as the zlib stream ends with it.
std::uint32_t adler32(const std::uint8_t* data, std::size_t size);

// rgb: height rows, top row first, of width pixels of 3 bytes (R, G, B).
// Empty when the sizes disagree or an image side is zero.
std::vector<std::uint8_t> encodePngRgb(std::uint32_t width, std::uint32_t height, const std::vector<std::uint8_t>& rgb);

} // namespace tidemark::automation
