#pragma once
// A drawn screen against its reference picture: which pixels changed beyond a perceptual
// tolerance, whether few enough did, and a picture of where.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "simulator/SnapshotImage.h"

namespace sim {

class SnapshotComparison {
public:
    struct Tolerance {
        // The share of pixels that must match, 0 to 1.
        double precision = 1.0;
        // The largest CIEDE2000 difference at which a pixel still matches; 0 asks for equal pixels.
        // 1.5 by default: one level of one 8-bit channel moves a colour by up to 1.25 (dark,
        // near-neutral greys), which nobody sees, while 2 is what a close look can tell apart.
        double perceptual = 1.5;
    };
    // Pixels, both ends included.
    struct Box {
        int minX, minY, maxX, maxY;
    };

    // `reference` is kept by reference for the diff image: it must outlive the comparison.
    SnapshotComparison(const SnapshotImage& actual, const SnapshotImage& reference, Tolerance tolerance);

    bool passed() const { return !_sizesDiffer && _changed <= _allowed; }
    bool sizesDiffer() const { return _sizesDiffer; }
    std::size_t changed() const { return _changed; }
    std::size_t total() const { return _total; }
    std::size_t allowed() const { return _allowed; }
    double largestDeltaE() const { return _largestDeltaE; }
    const std::optional<Box>& changedBox() const { return _box; }

    // The reference faded towards white with every changed pixel in pure red.
    SnapshotImage diffImage() const;
    // One line for a person: the share of pixels changed, the largest difference and where (in
    // pixels, and in points at `scale` pixels a point).
    std::string summary(double scale) const;

private:
    const SnapshotImage& _reference;
    int _actualWidth, _actualHeight;
    bool _sizesDiffer;
    std::size_t _changed = 0, _total = 0, _allowed = 0;
    double _largestDeltaE = 0;
    std::optional<Box> _box;
    std::vector<bool> _changedMask;
};

}  // namespace sim
