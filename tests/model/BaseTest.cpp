#include "model/BuildingParameters.h"
#include "model/Project.h"
#include "model/Site.h"
#include "model/Uuid.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(BuildingParameters, DefaultsInTheirOrder)
{
    const BuildingParameters& defaults = getBuildingParameters();
    EXPECT_EQ(&defaults, &getBuildingParameters());

    // The record's fields in declaration order.
    const double expected[] = {0.36, 0.2, 1.0, 2.0, 2.75, 0.8, 1.2, 1.4, 0.5, 0.2, 0.35, 0.0, 0.05};
    static_assert(sizeof(BuildingParameters) == sizeof expected, "thirteen doubles");
    const double* fields = &defaults.outerWallStrength;
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(fields[i], expected[i]) << "field " << i + 1;

    EXPECT_EQ(defaults.getOuterWallStrength(), 0.36);
    EXPECT_EQ(defaults.getInnerWallStrength(), 0.2);
    EXPECT_EQ(defaults.getDoorWidth(), 1.0);
}

TEST(BuildingParameters, ACopyChangesIndependently)
{
    BuildingParameters copy = getBuildingParameters();
    copy.outerWallStrength = 0.5;
    EXPECT_EQ(copy.outerWallStrength, 0.5);
    EXPECT_EQ(getBuildingParameters().outerWallStrength, 0.36);
}

TEST(Uuid, HasTheVersionFourForm)
{
    for (int n = 0; n < 500; ++n) {
        const std::string id = bg::generateUuid();
        ASSERT_EQ(id.size(), 36u) << id;
        for (size_t i = 0; i < id.size(); ++i) {
            const char c = id[i];
            if (i == 8 || i == 13 || i == 18 || i == 23)
                EXPECT_EQ(c, '-') << id;
            else
                EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << id;
        }
        EXPECT_EQ(id[14], '4') << id;
        EXPECT_NE(std::string("89ab").find(id[19]), std::string::npos) << id;
    }
}

TEST(Uuid, DrawsDiffer)
{
    std::set<std::string> seen;
    for (int n = 0; n < 1000; ++n)
        EXPECT_TRUE(seen.insert(bg::generateUuid()).second);
}

TEST(Site, StartsUnplaced)
{
    auto site = std::make_shared<bg::Site>();
    EXPECT_EQ(site->name, "Site");
    EXPECT_FALSE(site->building);
    EXPECT_EQ(site->orientation, 0.0);
    EXPECT_EQ(site->lat, 0.0);
    EXPECT_EQ(site->lon, 0.0);

    bg::Site* plain = site.get();
    std::shared_ptr<bg::Site> regained = plain->shared_from_this();
    EXPECT_EQ(regained, site);
    EXPECT_EQ(site.use_count(), 2);
}

TEST(Project, StartsEmptyWithItsName)
{
    bg::Project project("House");
    EXPECT_EQ(project.name, "House");
    EXPECT_TRUE(project.buildings.empty());
    EXPECT_TRUE(project.sites.empty());
    EXPECT_TRUE(project.requirementSets.empty());
    EXPECT_TRUE(project.proposals.empty());
}

} // namespace
