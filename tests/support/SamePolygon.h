#pragma once

// Compares closed polygons independent of start vertex and orientation, for
// results whose order the clipping library chooses.

#include "geometry/Polygon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

namespace kovra_test {

inline std::string describePoints(const std::vector<Vec2>& points)
{
    std::ostringstream out;
    out.precision(17);
    out << "[";
    for (size_t i = 0; i < points.size(); ++i)
        out << (i ? ", " : "") << "(" << points[i].x << ", " << points[i].y << ")";
    out << "]";
    return out.str();
}

// Success when `actual` runs through the same points as `expected`, within
// `tolerance` per coordinate, starting at any vertex and in either direction.
inline ::testing::AssertionResult samePolygon(const std::vector<Vec2>& actual,
                                              const std::vector<Vec2>& expected,
                                              double tolerance = 1e-9)
{
    const size_t n = expected.size();
    auto close = [tolerance](const Vec2& a, const Vec2& b) {
        return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
    };
    if (actual.size() == n) {
        if (n == 0)
            return ::testing::AssertionSuccess();
        for (size_t start = 0; start < n; ++start) {
            for (int direction : {1, -1}) {
                bool all = true;
                for (size_t i = 0; i < n && all; ++i) {
                    const size_t j = direction == 1 ? (start + i) % n : (start + n - i) % n;
                    all = close(actual[j], expected[i]);
                }
                if (all)
                    return ::testing::AssertionSuccess();
            }
        }
    }
    return ::testing::AssertionFailure()
           << "polygon " << describePoints(actual) << " differs from "
           << describePoints(expected) << " (any start vertex, either orientation)";
}

} // namespace kovra_test
