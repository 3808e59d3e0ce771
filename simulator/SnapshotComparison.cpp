#include "simulator/SnapshotComparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "simulator/SnapshotColour.h"

namespace sim {
namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

}  // namespace

SnapshotComparison::SnapshotComparison(const SnapshotImage& actual, const SnapshotImage& reference, Tolerance tolerance)
    : _reference(reference), _actualWidth(actual.width()), _actualHeight(actual.height()),
      _sizesDiffer(actual.width() != reference.width() || actual.height() != reference.height()) {
    if (_sizesDiffer) return;
    _total = std::size_t(actual.width()) * std::size_t(actual.height());
    // The matching share is rounded up to whole pixels: precision 0.999 of 1000 pixels lets one through.
    const double mustMatch = std::ceil(std::clamp(tolerance.precision, 0.0, 1.0) * double(_total) - 1e-9);
    _allowed = _total - std::min(_total, std::size_t(std::max(0.0, mustMatch)));
    _changedMask.assign(_total, false);
    // A screen has few colours, antialiasing included: each pair's difference is worked out once.
    std::unordered_map<std::uint64_t, double> differences;
    const auto packed = [](SnapshotImage::Pixel p) {
        return std::uint32_t(p.r) << 24 | std::uint32_t(p.g) << 16 | std::uint32_t(p.b) << 8 | p.a;
    };
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const auto a = actual.pixel(x, y), r = reference.pixel(x, y);
            if (a == r) continue;
            const auto [known, added] = differences.try_emplace(std::uint64_t(packed(a)) << 32 | packed(r), 0.0);
            if (added) known->second = SnapshotColour::deltaE2000(a, r);
            const double dE = known->second;
            _largestDeltaE = std::max(_largestDeltaE, dE);
            if (dE <= tolerance.perceptual) continue;
            ++_changed;
            _changedMask[std::size_t(y) * std::size_t(actual.width()) + std::size_t(x)] = true;
            if (!_box) _box = Box{x, y, x, y};
            _box->minX = std::min(_box->minX, x);
            _box->minY = std::min(_box->minY, y);
            _box->maxX = std::max(_box->maxX, x);
            _box->maxY = std::max(_box->maxY, y);
        }
}

SnapshotImage SnapshotComparison::diffImage() const {
    SnapshotImage out(_reference.width(), _reference.height());
    if (_sizesDiffer) return out;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            if (_changedMask[std::size_t(y) * std::size_t(out.width()) + std::size_t(x)]) {
                out.setPixel(x, y, {255, 0, 0, 255});
                continue;
            }
            // A quarter of the reference's grey over white: enough to find one's way, never red.
            const auto p = _reference.pixel(x, y);
            const double grey = (0.299 * p.r + 0.587 * p.g + 0.114 * p.b) * p.a / 255 + 255 - p.a;
            const auto faded = std::uint8_t(std::lround(255 - (255 - grey) / 4));
            out.setPixel(x, y, {faded, faded, faded, 255});
        }
    return out;
}

std::string SnapshotComparison::summary(double scale) const {
    if (_sizesDiffer)
        return "the screen is " + std::to_string(_actualWidth) + "x" + std::to_string(_actualHeight) + " px, the reference " +
               std::to_string(_reference.width()) + "x" + std::to_string(_reference.height()) + " px";
    std::string line = format("%.4g%%", _total ? 100.0 * double(_changed) / double(_total) : 0.0) + " of pixels changed (" +
                       std::to_string(_changed) + " of " + std::to_string(_total) + ", " + std::to_string(_allowed) +
                       " allowed), largest ΔE00 " + format("%.2f", _largestDeltaE);
    if (_box) {
        const auto pt = [scale](int px) { return format("%g", px / scale); };
        line += ", in x " + std::to_string(_box->minX) + ".." + std::to_string(_box->maxX) + " y " + std::to_string(_box->minY) +
                ".." + std::to_string(_box->maxY) + " px (x " + pt(_box->minX) + ".." + pt(_box->maxX + 1) + " y " +
                pt(_box->minY) + ".." + pt(_box->maxY + 1) + " pt)";
    }
    return line;
}

}  // namespace sim
