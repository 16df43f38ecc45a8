#include "shell/CommandRules.h"
#include "shell/RibbonTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

struct EnablingRow {
    const char* what;
    CommandContext context;
    // Expected for: New Building, New Requirement Set / Import / New Site,
    // New Proposal, platform Save Project.
    bool building, withBuilding, proposal, platformSave;
};

class CommandEnabling : public ::testing::TestWithParam<EnablingRow> {};

TEST_P(CommandEnabling, FollowsWhatTheCommandBuildsOn)
{
    const EnablingRow& row = GetParam();
    EXPECT_EQ(isCommandEnabled(ID_NEW_BUILDING, row.context), row.building);
    for (int id : {ID_NEW_REQUIREMENT_SET, ID_IMPORT_REQUIREMENT_SET, ID_NEW_SITE})
        EXPECT_EQ(isCommandEnabled(id, row.context), row.withBuilding) << id;
    EXPECT_EQ(isCommandEnabled(ID_NEW_PROPOSAL, row.context), row.proposal);
    EXPECT_EQ(isCommandEnabled(ID_PLATFORM_SAVE_PROJECT, row.context), row.platformSave);
    for (int id : {ID_PLATFORM, ID_NEW_PROJECT, ID_LOAD_PROJECT, ID_SAVE_PROJECT, ID_SETTINGS, ID_ABOUT})
        EXPECT_TRUE(isCommandEnabled(id, row.context)) << id;
}

INSTANTIATE_TEST_SUITE_P(
    Contexts, CommandEnabling,
    ::testing::Values(EnablingRow{"no project", {false, 0, 0, false}, false, false, false, false},
                      EnablingRow{"no project, logged in", {false, 0, 0, true}, false, false, false, false},
                      EnablingRow{"empty project", {true, 0, 0, false}, true, false, false, false},
                      EnablingRow{"sets only", {true, 0, 2, false}, true, false, false, false},
                      EnablingRow{"one building", {true, 1, 0, false}, true, true, false, false},
                      EnablingRow{"building and set", {true, 1, 1, false}, true, true, true, false},
                      EnablingRow{"logged in with project", {true, 0, 0, true}, true, false, false, true}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

struct NameRow {
    const char* path;
    const char* name;
};

class ImportedSetName : public ::testing::TestWithParam<NameRow> {};

TEST_P(ImportedSetName, IsTheFileNameUpToItsFirstDot)
{
    EXPECT_EQ(requirementSetNameFor(GetParam().path), GetParam().name) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, ImportedSetName,
                         ::testing::Values(NameRow{"/home/anna/rooms.csv", "rooms"},
                                           NameRow{"/home/anna/rooms.old.csv", "rooms"},
                                           NameRow{"/home/anna/my.data/rooms.csv", "rooms"},
                                           NameRow{"C:\\my.data\\rooms.csv", "rooms"},
                                           NameRow{"rooms", "rooms"},
                                           NameRow{"/data/.csv", ".csv"},
                                           NameRow{"/data/Häuser.csv", "Häuser"}));

} // namespace

namespace {

TEST(InitialFrameSizeTest, FitsALaptopAndLeavesRoomOnALargeScreen)
{
    struct Case {
        int width, height;
        FrameSize expected;
    };
    const Case cases[] = {
        {1280, 800, {1200, 760}},  {1280, 770, {1200, 760}}, {1024, 700, {1024, 700}},
        {1600, 1000, {1200, 760}}, {1920, 1080, {1280, 760}}, {2560, 1440, {1706, 960}},
    };
    for (const Case& row : cases) {
        const FrameSize size = initialFrameSize(row.width, row.height);
        EXPECT_EQ(size.width, row.expected.width) << row.width << " x " << row.height;
        EXPECT_EQ(size.height, row.expected.height) << row.width << " x " << row.height;
    }
}

} // namespace
