// Placement arithmetic and reading placements back from written entities.

#include "WrittenFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ifc::EntityPtr;

void expectNear(const Vec3D& actual, const Vec3D& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-12) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-12) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-12) << what;
}

void expectPlacement(const AxisPlacement& actual, const AxisPlacement& expected, const std::string& what)
{
    ASSERT_EQ(actual.size(), 3u) << what;
    expectNear(actual[0], expected[0], what + ", location");
    expectNear(actual[1], expected[1], what + ", axis");
    expectNear(actual[2], expected[2], what + ", reference direction");
}

TEST(IfcPlacement, CrossProduct)
{
    expectNear(ifc::cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1}, "x cross y");
    expectNear(ifc::cross({0, 0, 1}, {1, 0, 0}), {0, 1, 0}, "z cross x");
    expectNear(ifc::cross({2, 3, 4}, {5, 6, 7}), {-3, 6, -3}, "general");
}

TEST(IfcPlacement, ComposesAChildIntoItsParentsFrame)
{
    const AxisPlacement identity{{0, 0, 0}, {0, 0, 1}, {1, 0, 0}};
    const AxisPlacement turned{{10, 0, 0}, {0, 0, 1}, {0, 1, 0}}; // 90 degrees about z
    const AxisPlacement flat{{0, 0, 0}, {0, 0, 1}, {0, 0, 0}};   // no reference direction
    const struct {
        const char* name;
        AxisPlacement parent;
        AxisPlacement child;
        AxisPlacement result;
    } cases[] = {
        {"identity parent normalises the child", identity, {{1, 2, 3}, {0, 0, 2}, {3, 0, 0}},
         {{1, 2, 3}, {0, 0, 1}, {1, 0, 0}}},
        {"turned parent, child on x", turned, {{1, 0, 0}, {0, 0, 1}, {1, 0, 0}}, {{10, 1, 0}, {0, 0, 1}, {0, 1, 0}}},
        {"turned parent, child on y", turned, {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{9, 0, 0}, {0, 0, 1}, {0, 1, 0}}},
        {"zero reference direction leaves only the axis", flat, {{5, 6, 2}, {0, 0, 1}, {1, 0, 0}},
         {{0, 0, 2}, {0, 0, 1}, {0, 0, 0}}},
    };
    for (const auto& c : cases)
        expectPlacement(ifc::composePlacement(c.parent, c.child), c.result, c.name);
}

TEST(IfcPlacement, ReadsPointsDirectionsAndAxisPlacements)
{
    ifctest::WrittenFile<ifc::Writer4> file;
    file->writeHeader("a", "o", "p");
    const EntityPtr placement = file->writeAxisPlacement({1, 2, 3}, {0, 0, 5}, {0, 2, 0});
    expectPlacement(ifc::readAxis2Placement(placement), {{1, 2, 3}, {0, 0, 1}, {0, 1, 0}}, "read back");

    const EntityPtr turned = file->writeAxisPlacement({10, 0, 0}, {0, 0, 1}, {0, 1, 0});
    const EntityPtr child = file->writeAxisPlacement({1, 0, 0}, {0, 0, 1}, {1, 0, 0});
    expectPlacement(ifc::composeAxis2Placements(turned, child), {{10, 1, 0}, {0, 0, 1}, {0, 1, 0}}, "two entities");
    expectPlacement(ifc::composeWithAxis2Placement({{0, 0, 1}, {0, 0, 1}, {1, 0, 0}}, child),
                    {{1, 0, 1}, {0, 0, 1}, {1, 0, 0}}, "vectors and entity");

    const EntityPtr flatPoint = file->writeCartesianPoint2D({1, 2});
    try {
        ifc::readCartesianPoint(flatPoint);
        ADD_FAILURE() << "a 2-D point has no third coordinate";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "invalid vector subscript");
    }
    EXPECT_THROW(ifc::readCartesianPoint(file->writePlane(placement)), std::runtime_error)
        << "a plane's first attribute is no list";
}

TEST(IfcPlacement, SiteRelativePlacementFollowsTheChainUpToTheSite)
{
    ifctest::WrittenFile<ifc::Writer4> file;
    auto& w = *file;
    w.writeHeader("a", "o", "p");
    w.writeOwnerHistory();
    w.writeWorldCoordinateSystem();
    w.writeSite("Site", 0, 0);
    w.writeBuilding("B");
    w.writeBuildingStorey("1.OG", {0, 0, 3});
    expectPlacement(w.siteRelativePlacement(w.sitePlacement), {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}}, "site");
    expectPlacement(w.siteRelativePlacement(w.storeyPlacement), {{0, 0, 3}, {0, 0, 1}, {1, 0, 0}}, "storey");

    // A wall turned by 90 degrees in the storey, a door 1 m along it.
    const EntityPtr wall = w.writeLocalPlacement(w.storeyPlacement, w.writeAxisPlacement({4, 0, 0}, {0, 0, 1}, {0, 1, 0}));
    const EntityPtr door = w.writeLocalPlacement(wall, w.writePointPlacement({1, 0, 0.5}));
    expectPlacement(w.siteRelativePlacement(door), {{4, 1, 3.5}, {0, 0, 1}, {0, 1, 0}}, "door in a turned wall");

    const EntityPtr loose = w.writeLocalPlacement(nullptr, w.writeOriginPlacement());
    const EntityPtr below = w.writeLocalPlacement(loose, w.writeOriginPlacement());
    try {
        w.siteRelativePlacement(below);
        ADD_FAILURE() << "a placement outside the site's chain";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Conversion failed");
    }
}

} // namespace
