// Images are bounded: a PNG declaring more than 4096 pixels on a side is refused from its header.
// A 2x screen reads name@2x.png in place of name.png when it is there, sized in points.
#include "host/UIKit/UIImage.h"

#include <cairo.h>

#include "host/Runtime/DeviceProfile.h"
#include "host/UIKit/UIImageView.h"
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
    struct Case { std::uint32_t width, height; bool withPixels, loads; } cases[] = {{4096, 2, true, true}, {4097, 2, true, false},
        {2, 4097, true, false}, {32767, 16383, false, false}};  // the last refused before anything is decoded or allocated
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

// The file read, its scale and its size in points (the same at every scale, so layout never
// moves), for the files present beside each other and the screen's scale.
TEST_F(UIImageTest, TwoXScreensReadTheTwoXFileAtTheSamePointSize) {
    struct Case { const char* what; CGFloat screen; bool one, two; const char* asked; const char* read; int pixels; CGFloat scale; } cases[] = {
        {"2x with both", 2, true, true, "/tmp/logo.png", "/tmp/logo@2x.png", 56, 2},
        {"2x without @2x", 2, true, false, "/tmp/logo.png", "/tmp/logo.png", 28, 1},
        {"1x with both", 1, true, true, "/tmp/logo.png", "/tmp/logo.png", 28, 1},
        {"2x with @2x alone", 2, false, true, "/tmp/logo.png", "/tmp/logo@2x.png", 56, 2},
        {"@2x asked by name on 1x", 1, true, true, "/tmp/logo@2x.png", "/tmp/logo@2x.png", 56, 2},
        {"3x finds no @3x", 3, true, true, "/tmp/logo.png", "/tmp/logo.png", 28, 1},
        {"2x, a folder's @2x", 2, true, true, "/tmp/x@2x/logo.png", "/tmp/x@2x/logo@2x.png", 56, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(hostPath("/tmp"));
        const std::string folder = std::string(c.asked).substr(0, std::string(c.asked).rfind('/'));
        if (c.one) writeFile(folder + "/logo.png", png(28, 28));
        if (c.two) writeFile(folder + "/logo@2x.png", png(56, 56));
        host::DeviceProfile::mutableCurrent().screenScale = c.screen;
        auto image = UIImage::initWithContentsOfFile(c.asked);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->sourcePath(), c.read);
        EXPECT_EQ(image->pixelWidth(), c.pixels);
        EXPECT_EQ(image->scale(), c.scale);
        EXPECT_EQ(image->size(), (CGSize{28, 28}));
        EXPECT_EQ(image->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate)->size(), (CGSize{28, 28}));
        EXPECT_EQ(UIImageView::initWithImage(image)->intrinsicContentSize(), (CGSize{28, 28}));
    }
    std::filesystem::remove_all(hostPath("/tmp"));
    host::EventLog::shared().clear();
    EXPECT_EQ(UIImage::initWithContentsOfFile("/tmp/logo.png"), nullptr);
    ASSERT_EQ(diagnostics().size(), 1u);
    EXPECT_EQ(diagnostics()[0], "missing image /tmp/logo.png");
}

}  // namespace
