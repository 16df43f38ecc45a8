// The requirement-set page's table cells, diagram graph and removal without a window.
#include "requirements/RequirementTable.h"

#include "support/ModelFixtures.h"

#include "model/Constants.h"

#include <gtest/gtest.h>

using kovra_test::makeRequirement;
using kovra_test::makeRequirementSet;

TEST(RequirementTable, EighteenColumns)
{
    ASSERT_EQ(requirementColumns().size(), 18u);
    EXPECT_STREQ(requirementColumns()[4].title, "Area (m\u00b2)");
    EXPECT_STREQ(requirementColumns()[17].title, "TargetPositions");
    EXPECT_EQ(requirementColumns()[17].width, 125);
}

TEST(RequirementTable, RowCells)
{
    bg::Requirement r(4, "Kitchen", {2, 0}, 3.5, "Kitchen and cleaning", {2, 1.75}, {1, 3}, {0.5, 2.5},
                      {0.4, 6}, Vec2(-999, -999), -999, {"south"}, {2.8, 5.25}, 0);
    const std::vector<std::string> expected = {"4",    "Kitchen", "2,0",  "Kitchen and cleaning", "3.50", "south",
                                               "any floor", "2.00",    "1.75", "2.80", "5.25", "1.00", "3.00", "0.50",
                                               "2.50", "0.40",    "6.00", "(any, any)"};
    EXPECT_EQ(requirementRow(r), expected);

    struct Case {
        Vec2 position;
        const char* text;
    };
    const Case cases[] = {{{2.5, -999}, "(2.500000, any)"}, {{3.5, 4}, "(3.500000, 4.000000)"}};
    for (const Case& c : cases) {
        r.expectedPosition = c.position;
        EXPECT_EQ(requirementRow(r)[17], c.text);
    }
    // The codes of the file become words; entries after a -1 are never read.
    struct Doors {
        std::vector<int> adjacency;
        const char* text;
    };
    const Doors doors[] = {{{-1}, "none"}, {{}, "none"}, {{3, -1, 5}, "3"}, {{0}, "0"}};
    for (const Doors& d : doors) {
        r.adjacency = d.adjacency;
        EXPECT_EQ(requirementRow(r)[2], d.text) << d.text;
    }
    r.level = 0;
    EXPECT_EQ(requirementRow(r)[6], "0");
}

TEST(RequirementTable, NodeColoursFollowTheRoomType)
{
    struct Case {
        const char* type;
        diagram::Colour fill;
    };
    const Case cases[] = {{"Corridor", {1, 0, 0}},   {"Live and eat", {0, 0.59, 0.51}}, {"Stair", {0.5, 0.5, 0.5}},
                          {"Bedroom", {0.98, 0.57, 0}}, {"bedroom", {1, 1, 1}},          {"", {1, 1, 1}}};
    for (const Case& c : cases) {
        const diagram::Colour fill = diagramNodeColour(c.type);
        EXPECT_EQ(fill.r, c.fill.r) << c.type;
        EXPECT_EQ(fill.g, c.fill.g) << c.type;
        EXPECT_EQ(fill.b, c.fill.b) << c.type;
    }
}

TEST(RequirementTable, EmptySetShowsThePlaceholder)
{
    diagram::Graph graph;
    graph.edges.push_back({});
    fillRequirementGraph(graph, *makeRequirementSet({}));
    ASSERT_EQ(graph.nodes.size(), 1u);
    EXPECT_TRUE(graph.edges.empty());
    EXPECT_EQ(graph.nodes[0].id, 0);
    EXPECT_EQ(graph.nodes[0].size.width, 60);
    ASSERT_EQ(graph.nodes[0].labels.size(), 1u);
    auto* label = dynamic_cast<diagram::Label*>(graph.nodes[0].labels[0].get());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text, "Double Click to create your first room");
}

TEST(RequirementTable, NodesAndEdges)
{
    auto set = makeRequirementSet({makeRequirement(0, "Hall", 10, 0, {2, 0}), makeRequirement(1, "Bath", 5, 0, {-1}),
                                   makeRequirement(2, "Bed", 12, 0, {0, 7, -1, 1})});
    diagram::Graph graph;
    fillRequirementGraph(graph, *set);
    ASSERT_EQ(graph.nodes.size(), 3u);
    EXPECT_EQ(graph.nodes[2].id, 2);
    ASSERT_EQ(graph.nodes[2].labels.size(), 2u);
    EXPECT_EQ(dynamic_cast<diagram::Label*>(graph.nodes[2].labels[0].get())->text, "Bed");
    EXPECT_EQ(dynamic_cast<diagram::Label*>(graph.nodes[2].labels[1].get())->text, "2");
    std::vector<std::pair<std::int64_t, std::int64_t>> edges;
    for (const auto& edge : graph.edges) {
        edges.emplace_back(edge.from, edge.to);
        EXPECT_EQ(edge.width, 4.0);
    }
    // {0, 7, -1, 1}: 7 names no room, and nothing after -1 counts.
    EXPECT_EQ(edges, (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, 2}, {0, 0}, {2, 0}}));
}

TEST(RequirementTable, RemovalRenumbers)
{
    auto set = makeRequirementSet({makeRequirement(0, "A", 10, 0, {1}), makeRequirement(1, "B", 10, 0, {3}),
                                   makeRequirement(2, "C", 10, 0, {3}), makeRequirement(3, "D", 10, 0, {0, 1, 2})});
    ASSERT_TRUE(removeRequirementByIndex(*set, 1));
    ASSERT_EQ(set->requirements.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(set->requirements[static_cast<std::size_t>(i)]->index, i);
    EXPECT_EQ(set->requirements[0]->adjacency, std::vector<int>{-1});
    EXPECT_EQ(set->requirements[1]->adjacency, std::vector<int>{2});
    EXPECT_EQ(set->requirements[2]->name, "D");
    EXPECT_EQ(set->requirements[2]->adjacency, (std::vector<int>{0, 1}));
    EXPECT_FALSE(removeRequirementByIndex(*set, 9));
    EXPECT_EQ(set->requirements.size(), 3u);
}
