// Spatial structure, relations, properties, quantities and presentation.

#include "WrittenFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using ifc::EntityPtr;
using Writer = ifctest::Probe<ifc::Writer4>;

// A writer past the file frame: owner history #1 to #5, world coordinate
// system #6 to #9, units #10 to #14, contexts #15 to #18.
struct Framed {
    ifctest::WrittenFile<ifc::Writer4> file;

    Framed()
    {
        file->writeHeader("a", "o", "p");
        file->writeOwnerHistory();
        file->writeWorldCoordinateSystem();
        file->writeUnits();
        file->writeRepresentationContexts({0, 1});
    }

    Writer& writer() { return *file; }

    // The lines after the frame, GlobalIds replaced by G.
    Lines written()
    {
        Lines lines;
        const auto all = file.dataLines();
        for (std::size_t i = 18; i < all.size(); ++i)
            lines.push_back(ifctest::withoutGlobalIds(all[i]));
        return lines;
    }
};

// The compound angle as the writer prints it.
std::string angle(double degrees)
{
    std::ostringstream out;
    {
        step::Writer writer(out);
        writer.beginHeaderEntity("A")->add(ifc::toCompoundPlaneAngle(degrees));
    }
    std::string line;
    std::istringstream in(out.str());
    for (int i = 0; i < 3; ++i)
        std::getline(in, line);
    return line.substr(2, line.size() - 4); // A(...);
}

TEST(IfcCompoundPlaneAngle, AllPartsCarryTheSignOfTheAngle)
{
    const struct {
        double degrees;
        const char* written;
    } cases[] = {
        {7.5, "(7,30,0,0)"},           {-7.5, "(-7,-30,0,0)"}, {-0.25, "(0,-15,0,0)"},
        {0.0, "(0,0,0,0)"},            {48.5, "(48,30,0,0)"},  {10.000277777777778, "(10,0,1,0)"},
        {-179.99, "(-179,-59,-24,0)"}, {48.137154, "(48,8,13,754400)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(angle(c.degrees), c.written) << c.degrees;
}

TEST(IfcCompoundPlaneAngle, RefusesWhatItsIntegersCannotHold)
{
    for (double degrees : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 2147483648.0, -3e9})
        EXPECT_THROW(ifc::toCompoundPlaneAngle(degrees), std::invalid_argument) << degrees;
    EXPECT_EQ(angle(2147483647.0), "(2147483647,0,0,0)");
}

TEST(IfcKindCodes, MapToEnumerators)
{
    const struct {
        std::function<std::string(int)> name;
        const char* table;
        std::vector<const char*> texts;
    } tables[] = {
        {ifc::slabTypeName, "slab", {"FLOOR", "ROOF", "LANDING", "BASESLAB", "USERDEFINED", "NOTDEFINED", "", ""}},
        {ifc::buildingSystemTypeName,
         "building system",
         {"FENESTRATION", "FOUNDATION", "LOADBEARING", "OUTERSHELL", "SHADING", "TRANSPORT", "USERDEFINED",
          "NOTDEFINED", ""}},
        {ifc::externalSpatialElementTypeName,
         "external spatial element",
         {"EXTERNAL", "EXTERNAL_EARTH", "EXTERNAL_WATER", "EXTERNAL_FIRE", "USERDEFINED", "NOTDEFINED", ""}},
    };
    for (const auto& t : tables) {
        EXPECT_EQ(t.name(-1), "") << t.table;
        for (std::size_t code = 0; code < t.texts.size(); ++code)
            EXPECT_EQ(t.name(static_cast<int>(code)), t.texts[code]) << t.table << " " << code;
    }
}

TEST(IfcSpatialStructure, SiteBuildingAndStoreyArePlacedInAChain)
{
    Framed f;
    Writer& w = f.writer();
    w.writeSite("Site", 0.0, 0.0);
    w.writeBuilding("House");
    const EntityPtr storey = w.writeBuildingStorey("EG", {0, 0, 3.1});
    EXPECT_EQ(storey, w.storey);
    EXPECT_EQ(w.currentElement, storey);
    EXPECT_EQ(w.relations[w.site], ifc::EntityList{w.building});
    EXPECT_EQ(w.relations[w.building], ifc::EntityList{storey});

    EXPECT_EQ(f.written(),
              (Lines{"#20=IFCLOCALPLACEMENT($,#9);",
                     "#19=IFCSITE(G,#5,'Site',$,$,#20,$,$,.ELEMENT.,(0,0,0,0),(0,0,0,0),$,$,$);",
                     "#23=IFCDIRECTION((1.,0.,0.));", "#24=IFCDIRECTION((0.,0.,1.));",
                     "#25=IFCCARTESIANPOINT((0.,0.,0.));", "#26=IFCAXIS2PLACEMENT3D(#25,#24,#23);",
                     "#22=IFCLOCALPLACEMENT(#20,#26);",
                     "#21=IFCBUILDING(G,#5,'House',$,$,#22,$,$,.ELEMENT.,$,$,$);",
                     "#29=IFCDIRECTION((1.,0.,0.));", "#30=IFCDIRECTION((0.,0.,1.));",
                     "#31=IFCCARTESIANPOINT((0.,0.,3.1000000000000001));", "#32=IFCAXIS2PLACEMENT3D(#31,#30,#29);",
                     "#28=IFCLOCALPLACEMENT(#22,#32);",
                     "#27=IFCBUILDINGSTOREY(G,#5,'EG',$,$,#28,$,$,.ELEMENT.,3.1000000000000001);"}));
}

TEST(IfcRelations, WriteTheirObjectsInListOrder)
{
    Framed f;
    Writer& w = f.writer();
    const EntityPtr a = w.writeSystem("A"); // #19
    const EntityPtr b = w.writeSystem("B"); // #20
    w.writeRelAggregates(a, {b, a});
    w.writeRelContainedInSpatialStructure("", "", {b}, a);
    w.writeRelContainedInSpatialStructure("Storey", "Elements", {a, b}, b);
    w.writeRelVoidsElement(a, b);
    w.writeRelFillsElement(b, a);
    w.writeRelDefinesByProperties({a}, b);
    w.writeRelAssignsToGroup({a, b}, b);
    EXPECT_EQ(f.written(), (Lines{"#19=IFCSYSTEM(G,#5,'A',$,$);", "#20=IFCSYSTEM(G,#5,'B',$,$);",
                                  "#21=IFCRELAGGREGATES(G,#5,$,$,#19,(#20,#19));",
                                  "#22=IFCRELCONTAINEDINSPATIALSTRUCTURE(G,#5,$,$,(#20),#19);",
                                  "#23=IFCRELCONTAINEDINSPATIALSTRUCTURE(G,#5,'Storey','Elements',(#19,#20),#20);",
                                  "#24=IFCRELVOIDSELEMENT(G,#5,$,$,#19,#20);",
                                  "#25=IFCRELFILLSELEMENT(G,#5,$,$,#20,#19);",
                                  "#26=IFCRELDEFINESBYPROPERTIES(G,#5,$,$,(#19),#20);",
                                  "#27=IFCRELASSIGNSTOGROUP(G,#5,$,$,(#19,#20),$,#20);"}));
}

TEST(IfcRelations, SpaceBoundaryChecksItsEndsBeforeTakingANumber)
{
    Framed f;
    Writer& w = f.writer();
    const EntityPtr space = w.writeSystem("space"); // #19
    const EntityPtr wall = w.writeSystem("wall");   // #20
    struct {
        EntityPtr space;
        EntityPtr element;
        const char* message;
    } failures[] = {{nullptr, nullptr, "Missing relatingSpace"}, {nullptr, wall, "Missing relatingSpace"},
                    {space, nullptr, "Missing buildingElement"}};
    for (const auto& c : failures) {
        try {
            w.writeRelSpaceBoundary("n", "d", c.space, c.element, nullptr, "PHYSICAL", 0);
            ADD_FAILURE() << "no error, wanted " << c.message;
        } catch (const std::logic_error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    w.writeRelSpaceBoundary("", "", space, wall, nullptr, "PHYSICAL", 1);
    w.writeRelSpaceBoundary("n", "d", space, wall, wall, "VIRTUAL", 0);
    w.writeRelSpaceBoundary("n", "d", space, wall, nullptr, "PHYSICAL", 7);
    EXPECT_EQ(f.written(),
              (Lines{"#19=IFCSYSTEM(G,#5,'space',$,$);", "#20=IFCSYSTEM(G,#5,'wall',$,$);",
                     "#21=IFCRELSPACEBOUNDARY(G,#5,'','',#19,#20,$,.PHYSICAL.,.EXTERNAL.);",
                     "#22=IFCRELSPACEBOUNDARY(G,#5,'n','d',#19,#20,#20,.VIRTUAL.,.INTERNAL.);",
                     "#23=IFCRELSPACEBOUNDARY(G,#5,'n','d',#19,#20,$,.PHYSICAL.,.NOTDEFINED.);"}));
}

TEST(IfcProperties, SingleValuesSetsAndElementQuantities)
{
    Framed f;
    Writer& w = f.writer();
    step::Factory values;
    const EntityPtr text = w.writeTextProperty("Reference", "it's", nullptr);
    w.writePropertySingleValue("U", values.createSelect("IFCTHERMALTRANSMITTANCEMEASURE", values.createReal(1.0)),
                               w.lengthUnit);
    EXPECT_EQ(w.properties->items.size(), 2u);
    auto set = std::make_shared<step::Set>();
    set->add(std::make_shared<step::Reference>(text));
    w.writePropertySet("Pset_Test", set);

    w.writeQuantityArea("Area", 12.5);
    const EntityPtr first = w.writeElementQuantity("Q1");
    const EntityPtr second = w.writeElementQuantity("Q2");
    EXPECT_EQ(w.waitingForOwner, (ifc::EntityList{first, second}));
    w.adoptWaitingEntities(nullptr);
    w.adoptWaitingEntities(w.site); // nothing left: no change
    EXPECT_TRUE(w.waitingForOwner.empty());
    EXPECT_EQ(w.relations[first], ifc::EntityList{nullptr});
    EXPECT_EQ(w.relations.count(w.site), 0u);

    EXPECT_EQ(f.written(),
              (Lines{"#19=IFCPROPERTYSINGLEVALUE('Reference',$,IFCTEXT('it''s'),$);",
                     "#20=IFCPROPERTYSINGLEVALUE('U',$,IFCTHERMALTRANSMITTANCEMEASURE(1.),#10);",
                     "#21=IFCPROPERTYSET(G,#5,'Pset_Test',$,(#19));", "#22=IFCQUANTITYAREA('Area',$,#11,12.5,$);",
                     "#23=IFCELEMENTQUANTITY(G,#5,'Q1',$,$,(#22));", "#24=IFCELEMENTQUANTITY(G,#5,'Q2',$,$,());"}));
}

TEST(IfcProperties, PanelsTypesSystemsAndTerminals)
{
    Framed f;
    Writer& w = f.writer();
    w.writeSite("S", 0, 0);                              // #19, #20
    w.writeBuilding("B");                                // #21 to #26
    w.writeBuildingStorey("EG", {0, 0, 0});              // #27 to #32
    w.writeSpace("Room", {0, 0, 0});                     // #33 to #38
    const EntityPtr light = w.writeSystem("Light");      // #39
    const EntityPtr air = w.writeSystem("Air");          // #40
    const EntityPtr atOrigin = w.writeFlowTerminal("Lamp", light, air, {0, 0, 0});
    const EntityPtr raised = w.writeFlowTerminal("Vent", light, air, {0, 0, 2.5});
    w.writeWindowPanelProperties();
    w.writeDoorPanelProperties("RIGHT");
    w.writeLightFixtureType("Lamp type");
    w.writeAirTerminalType("Vent type");
    EXPECT_EQ(w.relations[w.space], (ifc::EntityList{atOrigin, raised}));
    EXPECT_EQ(w.relations[light], (ifc::EntityList{atOrigin, raised}));
    EXPECT_EQ(w.relations[air], (ifc::EntityList{atOrigin, raised}));
    EXPECT_EQ(w.doorPanels.size(), 1u);

    const Lines lines = f.written();
    const Lines tail(lines.end() - 11, lines.end());
    EXPECT_EQ(tail, (Lines{"#41=IFCFLOWTERMINAL(G,#5,'Lamp',$,$,$,$,$);", "#44=IFCDIRECTION((1.,0.,0.));",
                           "#45=IFCDIRECTION((0.,0.,1.));", "#46=IFCCARTESIANPOINT((0.,0.,2.5));",
                           "#47=IFCAXIS2PLACEMENT3D(#46,#45,#44);", "#43=IFCLOCALPLACEMENT(#34,#47);",
                           "#42=IFCFLOWTERMINAL(G,#5,'Vent',$,$,#43,$,$);",
                           "#48=IFCWINDOWPANELPROPERTIES(G,#5,$,$,.FIXEDCASEMENT.,.NOTDEFINED.,0.029999999999999999,"
                           "0.029999999999999999,$);",
                           "#49=IFCDOORPANELPROPERTIES(G,#5,$,$,0.040000000000000001,.DOUBLE_ACTING.,0.5,.RIGHT.,$);",
                           "#50=IFCLIGHTFIXTURETYPE(G,#5,'Lamp type',$,$,$,$,$,$,.NOTDEFINED.);",
                           "#51=IFCAIRTERMINALTYPE(G,#5,'Vent type',$,$,$,$,$,$,.NOTDEFINED.);"}));
}

TEST(IfcPresentation, StylesRefersToTheLastSolidStyleAndQueuedShapes)
{
    Framed f;
    Writer& w = f.writer();
    w.writeColourRgb("Grey", 0.5, 0.5, 0.5);        // #19
    w.currentSurfaceStyle = w.writeSurfaceStyle("Wall"); // #20, #21
    EXPECT_EQ(w.surfaceStyle, w.currentSurfaceStyle);
    w.writeExtrusionAt({Polygon({{0, 0}, {1, 0}, {0, 1}})}, {0, 0, 0}, {0, 0, 1}, 1.0); // solid #32
    w.writePresentationStyleAssignment();
    w.writeStyledItem();
    w.useBodyContext();
    w.writeShapeRepresentation("Body", "SweptSolid");
    w.writePresentationLayerWithStyle("Walls");
    EXPECT_EQ(w.pendingRepresentations.size(), 1u) << "the layer leaves the shapes to the product";

    const Lines lines = f.written();
    const Lines tail(lines.end() - 4, lines.end());
    EXPECT_EQ(tail, (Lines{"#34=IFCPRESENTATIONSTYLEASSIGNMENT((#21));", "#35=IFCSTYLEDITEM(#32,(#34),$);",
                           "#36=IFCSHAPEREPRESENTATION(#17,'Body','SweptSolid',(#32));",
                           "#37=IFCPRESENTATIONLAYERWITHSTYLE('Walls',$,(#36),$,.T.,.F.,.F.,(#21));"}));
    EXPECT_EQ(lines[0], "#19=IFCCOLOURRGB('Grey',0.5,0.5,0.5);");
}

} // namespace
