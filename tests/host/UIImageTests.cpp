// Images are bounded: a PNG declaring more than 4096 pixels on a side is refused from its header.
#include "host/UIKit/UIImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/DeviceFixture.h"

namespace {

std::uint32_t crc32(std::string_view bytes) {
    std::uint32_t crc = 0xffffffffu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::string bigEndian(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string chunk(const std::string& type, const std::string& data) {
    return bigEndian(std::uint32_t(data.size())) + type + data + bigEndian(crc32(type + data));
}

// A black 1-bit grey PNG of `width` x `height`, its pixels stored uncompressed; with
// `withPixels` false, only the header (a file that claims the size and holds nothing).
std::string png(std::uint32_t width, std::uint32_t height, bool withPixels = true) {
    std::string out = "\x89PNG\r\n\x1a\n";
    out += chunk("IHDR", bigEndian(width) + bigEndian(height) + std::string("\x01\x00\x00\x00\x00", 5));
    if (withPixels) {
        const std::string raw(std::size_t(height) * (1 + (width + 7) / 8), '\0');  // filter 0, all black
        std::string zlib = "\x78\x01";
        std::uint32_t a = 1, b = 0;
        for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
        for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
            const std::uint16_t len = std::uint16_t(std::min<std::size_t>(65535, raw.size() - at));
            zlib += char(at + len >= raw.size() ? 1 : 0);
            zlib += {char(len & 0xff), char(len >> 8), char(~len & 0xff), char((~len >> 8) & 0xff)};
            zlib += raw.substr(at, len);
        }
        out += chunk("IDAT", zlib + bigEndian((b << 16) | a));
    }
    return out + chunk("IEND", "");
}

using UIImageTest = DeviceFixture;

TEST_F(UIImageTest, ImagesOverTheBoundAreRefusedFromTheirHeader) {
    struct Case { std::uint32_t width, height; bool withPixels, loads; } cases[] = {
        {4096, 2, true, true}, {4097, 2, true, false}, {2, 4097, true, false},
        {32767, 16383, false, false},  // refused before anything is decoded or allocated
    };
    for (const auto& c : cases) {
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        host::EventLog::shared().clear();
        writeFile("/tmp/image.png", png(c.width, c.height, c.withPixels));
        auto image = UIImage::initWithContentsOfFile("/tmp/image.png");
        ASSERT_EQ(image != nullptr, c.loads) << size;
        if (image) {
            EXPECT_EQ(image->pixelWidth(), int(c.width));
            EXPECT_EQ(image->pixels().size(), std::size_t(image->stride()) * c.height);
            EXPECT_TRUE(diagnostics().empty());
        } else {
            ASSERT_EQ(diagnostics().size(), 1u) << size;
            EXPECT_NE(diagnostics()[0].find(size + " pixels"), std::string::npos) << diagnostics()[0];
        }
    }
}

}  // namespace
