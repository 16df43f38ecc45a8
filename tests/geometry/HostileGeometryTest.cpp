// Geometry the clipping library cannot take: points that are not finite or
// lie beyond its integer grid. The functions refuse them with GeometryError
// and a message in words, never with the library's exception or undefined
// behaviour.

#include "geometry/LayoutGeometry.h"

#include <clipper2/clipper.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

std::vector<Vec2> triangle(double far) { return {{0, 0}, {far, 0}, {far / 2, 1}}; }

struct RefusedCase {
    const char* name;
    std::function<void()> call;
    const char* message;
};

const RefusedCase refused[] = {
    {"InsetNan", [] { insetPolygon(triangle(nan), 0.3); },
     "The polygon to inset has a point whose coordinates are not finite numbers within 1000000000 m."},
    {"InsetBeyondTheGrid", [] { insetPolygon(triangle(3e12), 0.3); },
     "The polygon to inset has a point whose coordinates are not finite numbers within 1000000000 m."},
    {"InsetByInfinity", [] { insetPolygon(triangle(10), infinity); },
     "The inset distance is not a finite number within 1000000000 m."},
    {"ClipRoomBeyondTheGrid", [] { clipRoomToOuterWall(triangle(5e10), {{0, 0}, {1, 1}}, 0.3); },
     "The floor contour has a point whose coordinates are not finite numbers within 1000000000 m."},
    {"ClipRoomOfNanSize", [] { clipRoomToOuterWall({}, {{0, 0}, {nan, 1}}, 0.3); },
     "The room has a point whose coordinates are not finite numbers within 1000000000 m."},
    {"InteriorEdgesBeyondTheGrid", [] { roomInteriorEdges(triangle(10), {{-5e10, 0}, {1, 1}}, 0.2); },
     "The room has a point whose coordinates are not finite numbers within 1000000000 m."},
};

class RefusedGeometry : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedGeometry, ThrowsGeometryErrorInWords)
{
    try {
        GetParam().call();
        ADD_FAILURE() << "nothing thrown";
    } catch (const GeometryError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedGeometry, ::testing::ValuesIn(refused),
                         [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(HostileGeometry, TheLibrarysOwnErrorBecomesGeometryError)
{
    try {
        clipSafely([]() -> int { throw Clipper2Lib::Clipper2Exception("Range error"); });
        ADD_FAILURE() << "nothing thrown";
    } catch (const GeometryError& error) {
        EXPECT_STREQ(error.what(), "The clipping of a polygon failed: Range error.");
    }
    try {
        clipSafely([]() -> int { throw std::out_of_range("not the library's"); });
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::out_of_range&) {
    }
}

TEST(HostileGeometry, FarButClippableOutlinesStillWork)
{
    const std::vector<Vec2> square = {{0, 0}, {1e8, 0}, {1e8, 1e8}, {0, 1e8}};
    EXPECT_EQ(insetPolygon(square, 1).size(), 4u);
}

} // namespace
