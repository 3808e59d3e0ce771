// Images are bounded: a PNG declaring more than 4096 pixels on a side is refused from its header.
#include "host/UIKit/UIImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <cairo.h>

#include "tests/support/DeviceFixture.h"

namespace {

// A PNG of `width` x `height` as cairo writes it.
std::string png(int width, int height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A1, width, height);
    std::string out;
    cairo_surface_write_to_png_stream(surface, [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    }, &out);
    cairo_surface_destroy(surface);
    return out;
}

// A one-pixel file whose header claims `width` x `height`, its checksum left stale: only a size
// check made on the header itself names that size.
std::string claimedPng(std::uint32_t width, std::uint32_t height) {
    std::string out = png(1, 1);
    for (int k = 0; k < 4; ++k) out[16 + k] = char(width >> (24 - 8 * k)), out[20 + k] = char(height >> (24 - 8 * k));
    return out;
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
        writeFile("/tmp/image.png", c.withPixels ? png(int(c.width), int(c.height)) : claimedPng(c.width, c.height));
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
