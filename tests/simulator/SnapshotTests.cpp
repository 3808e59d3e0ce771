// Snapshot checks: colour difference, the comparison's tolerance, and expect-snapshot with its
// reference, output and record mode on the drawn screen.
#include <cmath>
#include <fstream>

#include "simulator/Snapshot.h"
#include "simulator/SnapshotColour.h"
#include "simulator/SnapshotComparison.h"
#include "tests/simulator/SimulatorFixture.h"

using sim::SnapshotColour;
using sim::SnapshotComparison;
using sim::SnapshotImage;

namespace {

// A picture with a different colour at every pixel, so any shift shows; its top row is dark
// greys, where one level of green makes the largest difference.
SnapshotImage gradient(int width, int height) {
    SnapshotImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, y == 0 ? SnapshotImage::Pixel{std::uint8_t(x), std::uint8_t(x), std::uint8_t(x), 255}
                                        : SnapshotImage::Pixel{std::uint8_t(20 + x * 5), std::uint8_t(40 + y * 6), std::uint8_t(200 - x * 2), 255});
    return image;
}

SnapshotImage changed(SnapshotImage image, int x0, int y0, int size, SnapshotImage::Pixel colour) {
    for (int y = y0; y < y0 + size; ++y)
        for (int x = x0; x < x0 + size; ++x) image.setPixel(x, y, colour);
    return image;
}

// One level more green (less where it is full) everywhere.
SnapshotImage brighterGreen(SnapshotImage image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            auto p = image.pixel(x, y);
            image.setPixel(x, y, {p.r, std::uint8_t(p.g == 255 ? 254 : p.g + 1), p.b, p.a});
        }
    return image;
}

}  // namespace

// Pairs from the published CIEDE2000 test data (Sharma, Wu and Dalal), including the hue-angle
// wrap-arounds, and sRGB anchors for the conversion.
TEST(SnapshotColour, DifferencesMatchThePublishedPairs) {
    const struct { SnapshotColour::Lab first, second; double deltaE; } pairs[] = {
        {{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425}, {{50, 0, 0}, {50, -1, 2}, 2.3669},
        {{50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792}, {{50, 2.49, -0.001}, {50, -2.49, 0.0011}, 7.2195},
        {{50, 2.5, 0}, {73, 25, -18}, 27.1492}, {{50, 2.5, 0}, {50, 3.1736, 0.5854}, 1.0000},
        {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
        {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
    };
    for (const auto& p : pairs) {
        EXPECT_NEAR(SnapshotColour::deltaE2000(p.first, p.second), p.deltaE, 1e-4) << p.first.L << " " << p.first.a << " " << p.first.b;
        EXPECT_NEAR(SnapshotColour::deltaE2000(p.second, p.first), p.deltaE, 1e-4) << "reversed";
    }
    const struct { SnapshotImage::Pixel pixel; SnapshotColour::Lab lab; } anchors[] = {
        {{255, 255, 255, 255}, {100, 0, 0}}, {{255, 0, 0, 255}, {53.2408, 80.0925, 67.2032}},
        {{0, 0, 0, 0}, {100, 0, 0}},  // transparent shows the white under it
        {{128, 128, 255, 255}, {59.20, 33.10, -63.46}},
    };
    for (const auto& a : anchors) {
        const auto lab = SnapshotColour::lab(a.pixel);
        EXPECT_NEAR(lab.L, a.lab.L, 0.1) << int(a.pixel.r) << "," << int(a.pixel.b) << "," << int(a.pixel.a);
        EXPECT_NEAR(lab.a, a.lab.a, 0.1);
        EXPECT_NEAR(lab.b, a.lab.b, 0.1);
    }
    // Half-transparent blue over white is the opaque mix a person sees.
    EXPECT_LT(SnapshotColour::deltaE2000(SnapshotImage::Pixel{0, 0, 255, 128}, SnapshotImage::Pixel{127, 127, 255, 255}), 0.01);
}

// Which changes pass: none, one below what the eye sees, a visible block within or beyond the
// share of pixels allowed to differ, and a picture of another size.
TEST(SnapshotComparison, ToleranceDecidesWhatPasses) {
    const SnapshotImage reference = gradient(40, 30);  // 1200 pixels
    const SnapshotComparison::Tolerance exact{1.0, 0.0}, byDefault{};
    const auto block = changed(reference, 10, 5, 3, {255, 0, 0, 255});
    const struct { const char* what; SnapshotImage actual; SnapshotComparison::Tolerance tolerance; bool passes; std::size_t changed; } cases[] = {
        {"same pixels", reference, exact, true, 0},
        {"green + 1, default", brighterGreen(reference), byDefault, true, 0},
        {"green + 1, exact", brighterGreen(reference), exact, false, 1200},
        {"green + 1, within 1.0", brighterGreen(reference), {1.0, 1.0}, false, 22},
        {"3x3 block", block, byDefault, false, 9},
        {"3x3 block, 9 allowed", block, {1 - 9 / 1200.0, 1.5}, true, 9},
        {"3x3 block, 8 allowed", block, {1 - 8 / 1200.0, 1.5}, false, 9},
        {"other size", gradient(40, 31), byDefault, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SnapshotComparison comparison(c.actual, reference, c.tolerance);
        EXPECT_EQ(comparison.passed(), c.passes) << comparison.summary(2);
        EXPECT_EQ(comparison.changed(), c.changed);
    }

    const SnapshotComparison comparison(block, reference, byDefault);
    ASSERT_TRUE(comparison.changedBox());
    char largest[16];
    std::snprintf(largest, sizeof largest, "%.2f", comparison.largestDeltaE());
    EXPECT_EQ(comparison.summary(2), "0.75% of pixels changed (9 of 1200, 0 allowed), largest ΔE00 " + std::string(largest) +
                                         ", in x 10..12 y 5..7 px (x 5..6.5 y 2.5..4 pt)");
    EXPECT_GT(comparison.largestDeltaE(), 10);
    // The diff marks exactly the changed pixels in red.
    const auto diff = comparison.diffImage();
    const SnapshotImage::Pixel red{255, 0, 0, 255};
    int reds = 0;
    for (int y = 0; y < diff.height(); ++y)
        for (int x = 0; x < diff.width(); ++x) reds += diff.pixel(x, y) == red;
    EXPECT_EQ(reds, 9);
    EXPECT_EQ(diff.pixel(11, 6), red);
    EXPECT_EQ(SnapshotComparison(gradient(40, 31), reference, byDefault).summary(2), "the screen is 40x31 px, the reference 40x30 px");
}

class SnapshotScriptTest : public SimulatorFixture {
protected:
    ScriptRun check(const std::string& script, bool record = false) {
        std::istringstream in(script);
        std::ostringstream out, err;
        sim::ScriptRunner runner(*app, out, err, {false, false, {}}, {temp / "refs", temp / "out", record});
        const int failures = runner.run(in);
        recorded = runner.recordedSnapshots();
        return {failures, out.str(), err.str()};
    }
    int recorded = 0;
};

// The drawn screen against a reference that was recorded, then changed on disk.
TEST_F(SnapshotScriptTest, ExpectSnapshotComparesRecordsAndLeavesActualAndDiff) {
    open();
    advance(1.2);
    auto run = check("expect-snapshot root\n", true);
    EXPECT_EQ(run.failures, 0) << run.err;
    EXPECT_EQ(recorded, 1);
    EXPECT_EQ(run.out, "recorded " + (temp / "refs/root.png").string() + "\n");
    std::string why;
    const auto screen = SnapshotImage::read(temp / "refs/root.png", &why);
    ASSERT_TRUE(screen) << why;
    EXPECT_EQ(screen->width(), 750);
    EXPECT_EQ(check("expect-snapshot root\n").failures, 0);

    // What each reference on disk does to the same screen.
    const auto block = changed(*screen, 100, 300, 4, {0, 200, 0, 255});
    // `said` is what the failure says; "" when the line passes.
    const struct { const char* what; SnapshotImage reference; std::string script, said; } cases[] = {
        {"imperceptible", brighterGreen(*screen), "expect-snapshot root", ""},
        {"imperceptible, exact", brighterGreen(*screen), "expect-snapshot root perceptual=0", "100% of pixels changed"},
        {"block", block, "expect-snapshot root", "0.001599% of pixels changed (16 of 1000500, 0 allowed)"},
        {"block, by default", block, "snapshot-defaults precision=0.99998\nexpect-snapshot root", ""},
        {"other size", SnapshotImage(10, 10, {255, 255, 255, 255}), "expect-snapshot root", "the screen is 750x1334 px, the reference 10x10 px"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.reference.write(temp / "refs/root.png", &why)) << why;
        run = check(c.script + "\n");
        EXPECT_EQ(run.failures, c.said.empty() ? 0 : 1) << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_EQ(std::filesystem::exists(temp / "out/root.png"), !c.said.empty());
    }
    // The block's diff marks it, and the box is said in pixels and points.
    ASSERT_TRUE(block.write(temp / "refs/root.png", &why));
    run = check("expect-snapshot root\n");
    EXPECT_NE(run.err.find("in x 100..103 y 300..303 px (x 50..52 y 150..152 pt); actual " + (temp / "out/root.png").string() +
                           ", diff " + (temp / "out/root-diff.png").string()),
        std::string::npos) << run.err;
    const auto diff = SnapshotImage::read(temp / "out/root-diff.png", &why);
    ASSERT_TRUE(diff) << why;
    EXPECT_EQ(diff->pixel(101, 302), (SnapshotImage::Pixel{255, 0, 0, 255}));
    EXPECT_NE(diff->pixel(99, 302), (SnapshotImage::Pixel{255, 0, 0, 255}));
    const auto actual = SnapshotImage::read(temp / "out/root.png", &why);
    ASSERT_TRUE(actual) << why;
    EXPECT_EQ(actual->pixel(101, 302), screen->pixel(101, 302));
}

// Lines that cannot check anything fail, and none may write over a reference.
TEST_F(SnapshotScriptTest, ExpectSnapshotRefusesWhatCannotBeChecked) {
    open();
    std::istringstream in("expect-snapshot root\nexpect-snapshot ../root\nexpect-snapshot root precision=2\n"
                          "expect-snapshot missing\n");
    std::ostringstream out, err;
    sim::ScriptRunner noFolder(*app, out, err, {false, false, {}});
    EXPECT_EQ(noFolder.runLine("expect-snapshot root", 1), false);
    EXPECT_NE(err.str().find("needs the reference folder (--snapshot-dir DIR)"), std::string::npos) << err.str();

    std::string why;
    ASSERT_TRUE(sim::Snapshot::write(*app, temp / "refs/root.png", &why)) << why;
    const auto before = readAll(temp / "refs/root.png");
    advance(1.2);  // the logo has faded in: the screen differs
    sim::ScriptRunner sameFolder(*app, out, err, {false, false, {}}, {temp / "refs", temp / "refs", false});
    EXPECT_EQ(sameFolder.run(in), 4) << err.str();
    for (const char* said : {"line 1: the snapshot output folder is the reference folder",
             "line 2: a snapshot name is a relative path inside the reference folder", "line 3: precision is a share of pixels, from 0 to 1"})
        EXPECT_NE(err.str().find(said), std::string::npos) << err.str();
    EXPECT_EQ(readAll(temp / "refs/root.png"), before);
}
