// Geometry builders: what each writes, in which order and with which numbers.

#include "WrittenFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using ifc::EntityPtr;
using Writer = ifctest::Probe<ifc::Writer4>;

Polygon square()
{
    return Polygon({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
}

Polygon clockwise(Polygon polygon)
{
    polygon.makeClockwise();
    polygon.counterClockwise = 0;
    return polygon;
}

struct GoldenCase {
    const char* name;
    std::function<void(Writer&)> write;
    Lines lines;
};

class GeometryBuilders : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GeometryBuilders, WriteTheirEntities)
{
    const GoldenCase& c = GetParam();
    ifctest::WrittenFile<ifc::Writer4> file;
    file->writeHeader("a", "o", "p");
    c.write(*file);
    EXPECT_EQ(file.dataLines(), c.lines);
}

const GoldenCase goldenCases[] = {
    {"closed 2-D polyline repeats the first point as a new entity",
     [](Writer& w) { w.writePolyline2D(square()); },
     {"#1=IFCCARTESIANPOINT((0.,0.));", "#2=IFCCARTESIANPOINT((2.,0.));", "#3=IFCCARTESIANPOINT((2.,2.));",
      "#4=IFCCARTESIANPOINT((0.,2.));", "#5=IFCCARTESIANPOINT((0.,0.));", "#6=IFCPOLYLINE((#1,#2,#3,#4,#5));"}},
    {"3-D polyline at a height",
     [](Writer& w) { w.writePolyline(Polygon({{0, 0}, {1, 0}, {1, 1}}), -0.2); },
     {"#1=IFCCARTESIANPOINT((0.,0.,-0.20000000000000001));", "#2=IFCCARTESIANPOINT((1.,0.,-0.20000000000000001));",
      "#3=IFCCARTESIANPOINT((1.,1.,-0.20000000000000001));", "#4=IFCCARTESIANPOINT((0.,0.,-0.20000000000000001));",
      "#5=IFCPOLYLINE((#1,#2,#3,#4));"}},
    {"default directions are created after their placement and written before it",
     [](Writer& w) {
         const EntityPtr point = w.writeCartesianPoint({1, 2, 3});
         w.writeAxis2Placement3D(point, nullptr, nullptr);
         w.writeAxis2Placement3D(point, nullptr, nullptr);
     },
     {"#1=IFCCARTESIANPOINT((1.,2.,3.));", "#3=IFCDIRECTION((0.,0.,1.));", "#4=IFCDIRECTION((1.,0.,0.));",
      "#2=IFCAXIS2PLACEMENT3D(#1,#3,#4);", "#6=IFCDIRECTION((0.,0.,1.));", "#7=IFCDIRECTION((1.,0.,0.));",
      "#5=IFCAXIS2PLACEMENT3D(#1,#6,#7);"}},
    {"2-D direction with its second component negated",
     [](Writer& w) { w.writeDirection2D({0.6, 0.8}); },
     {"#1=IFCDIRECTION((0.59999999999999998,-0.80000000000000004));"}},
    {"product placement: local placement numbered first, written last",
     [](Writer& w) {
         const EntityPtr p = w.factory.createEntity("IFCPROXY");
         const EntityPtr parent = w.writeLocalPlacement(nullptr, w.writeOriginPlacement());
         w.addPlacement(p, parent, {1, 2, 3});
         w.out->writeEntity(p);
     },
     {"#2=IFCCARTESIANPOINT((0.,0.,0.));", "#4=IFCDIRECTION((0.,0.,1.));", "#5=IFCDIRECTION((1.,0.,0.));",
      "#3=IFCAXIS2PLACEMENT3D(#2,#4,#5);", "#6=IFCLOCALPLACEMENT($,#3);", "#8=IFCDIRECTION((1.,0.,0.));",
      "#9=IFCDIRECTION((0.,0.,1.));", "#10=IFCCARTESIANPOINT((1.,2.,3.));", "#11=IFCAXIS2PLACEMENT3D(#10,#9,#8);",
      "#7=IFCLOCALPLACEMENT(#6,#11);", "#1=IFCPROXY(#7);"}},
    {"representation: $ without pending shapes, one product shape over all pending ones",
     [](Writer& w) {
         auto withRepresentation = [&w] {
             const EntityPtr p = w.factory.createEntity("IFCPROXY");
             w.addRepresentation(p);
             w.out->writeEntity(p);
         };
         withRepresentation();
         w.writeShapeRepresentation("Body", "SweptSolid");
         w.writeShapeRepresentation("FootPrint", "Annotation2D");
         withRepresentation();
         withRepresentation();
     },
     {"#1=IFCPROXY($);", "#2=IFCSHAPEREPRESENTATION($,'Body','SweptSolid',());",
      "#3=IFCSHAPEREPRESENTATION($,'FootPrint','Annotation2D',());", "#5=IFCPRODUCTDEFINITIONSHAPE($,$,(#2,#3));",
      "#4=IFCPROXY(#5);", "#6=IFCPROXY($);"}},
    {"shape representation takes the collected items and starts a new set",
     [](Writer& w) {
         w.writeWorldCoordinateSystem();
         w.writeRepresentationContexts({0, 1});
         w.useBodyContext();
         w.writeExtrusionAt({square()}, {0, 0, 0}, {0, 0, 1}, 2.5);
         const EntityPtr source = w.writeOriginPlacement();
         w.writeMappedItem(source, w.writeIdentityTransformation());
         w.writeShapeRepresentation("Body", "SweptSolid");
         w.writeShapeRepresentation("Body", "SweptSolid");
     },
     {"#1=IFCDIRECTION((1.,0.,0.));", "#2=IFCDIRECTION((0.,0.,1.));", "#3=IFCCARTESIANPOINT((0.,0.,0.));",
      "#4=IFCAXIS2PLACEMENT3D(#3,#2,#1);", "#5=IFCDIRECTION((0.,-1.));",
      "#6=IFCGEOMETRICREPRESENTATIONCONTEXT($,'Model',3,1.0000000000000001E-05,#4,#5);",
      "#7=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Body','Model',*,*,*,*,#6,$,.MODEL_VIEW.,$);",
      "#8=IFCGEOMETRICREPRESENTATIONSUBCONTEXT('Axis','Model',*,*,*,*,#6,$,.MODEL_VIEW.,$);",
      "#9=IFCCARTESIANPOINT((0.,0.,0.));", "#11=IFCDIRECTION((0.,0.,1.));", "#12=IFCDIRECTION((1.,0.,0.));",
      "#10=IFCAXIS2PLACEMENT3D(#9,#11,#12);", "#13=IFCCARTESIANPOINT((0.,0.));", "#14=IFCCARTESIANPOINT((2.,0.));",
      "#15=IFCCARTESIANPOINT((2.,2.));", "#16=IFCCARTESIANPOINT((0.,2.));", "#17=IFCCARTESIANPOINT((0.,0.));",
      "#18=IFCPOLYLINE((#13,#14,#15,#16,#17));", "#19=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#18);",
      "#21=IFCDIRECTION((0.,0.,1.));", "#20=IFCEXTRUDEDAREASOLID(#19,#10,#21,2.5);",
      "#22=IFCCARTESIANPOINT((0.,0.,0.));", "#24=IFCDIRECTION((0.,0.,1.));", "#25=IFCDIRECTION((1.,0.,0.));",
      "#23=IFCAXIS2PLACEMENT3D(#22,#24,#25);", "#27=IFCCARTESIANPOINT((0.,0.,0.));",
      "#26=IFCCARTESIANTRANSFORMATIONOPERATOR3D($,$,#27,$,$);", "#28=IFCMAPPEDITEM(#23,#26);",
      "#29=IFCSHAPEREPRESENTATION(#7,'Body','SweptSolid',(#20,#28));",
      "#30=IFCSHAPEREPRESENTATION(#7,'Body','SweptSolid',());"}},
    {"one clockwise polygon is a closed profile, its orientation not looked at",
     [](Writer& w) { w.writeProfile({clockwise(Polygon({{0, 0}, {1, 0}, {0, 1}}))}); },
     {"#1=IFCCARTESIANPOINT((0.,1.));", "#2=IFCCARTESIANPOINT((1.,0.));", "#3=IFCCARTESIANPOINT((0.,0.));",
      "#4=IFCCARTESIANPOINT((0.,1.));", "#5=IFCPOLYLINE((#1,#2,#3,#4));",
      "#6=IFCARBITRARYCLOSEDPROFILEDEF(.AREA.,$,#5);"}},
    {"outline with a hole",
     [](Writer& w) {
         w.writeProfile({clockwise(Polygon({{1, 1}, {2, 1}, {1, 2}})), Polygon({{0, 0}, {4, 0}, {0, 4}})});
     },
     {"#1=IFCCARTESIANPOINT((1.,2.));", "#2=IFCCARTESIANPOINT((2.,1.));", "#3=IFCCARTESIANPOINT((1.,1.));",
      "#4=IFCCARTESIANPOINT((1.,2.));", "#5=IFCPOLYLINE((#1,#2,#3,#4));", "#6=IFCCARTESIANPOINT((0.,0.));",
      "#7=IFCCARTESIANPOINT((4.,0.));", "#8=IFCCARTESIANPOINT((0.,4.));", "#9=IFCCARTESIANPOINT((0.,0.));",
      "#10=IFCPOLYLINE((#6,#7,#8,#9));", "#11=IFCARBITRARYPROFILEDEFWITHVOIDS(.AREA.,$,#10,(#5));"}},
    {"boundary surface of one polygon has no inner boundaries",
     [](Writer& w) { w.writeConnectionGeometry({0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {Polygon({{0, 0}, {3, 0}, {3, 2}})}); },
     {"#1=IFCDIRECTION((1.,0.,0.));", "#2=IFCDIRECTION((0.,1.,0.));", "#3=IFCCARTESIANPOINT((0.,0.,1.));",
      "#4=IFCAXIS2PLACEMENT3D(#3,#2,#1);", "#5=IFCCARTESIANPOINT((0.,0.));", "#6=IFCCARTESIANPOINT((3.,0.));",
      "#7=IFCCARTESIANPOINT((3.,2.));", "#8=IFCCARTESIANPOINT((0.,0.));", "#9=IFCPOLYLINE((#5,#6,#7,#8));",
      "#10=IFCPLANE(#4);", "#11=IFCCURVEBOUNDEDPLANE(#10,#9,());", "#12=IFCCONNECTIONSURFACEGEOMETRY(#11,$);"}},
    {"non-uniform transformation: arguments scale, scale3, scale2",
     [](Writer& w) { w.writeNonUniformTransformation(2, 3, 4); },
     {"#2=IFCCARTESIANPOINT((0.,0.,0.));",
      "#1=IFCCARTESIANTRANSFORMATIONOPERATOR3DNONUNIFORM($,$,#2,2.,$,4.,3.);"}},
    {"plane, curve-bounded plane and connection geometry from entities",
     [](Writer& w) {
         const EntityPtr plane = w.writePlane(w.writeOriginPlacement());
         const EntityPtr outer = w.writePolylineOfPoints({w.writeCartesianPoint2D({0, 0}), w.writeCartesianPoint2D({1, 0})});
         w.writeConnectionSurfaceGeometry(w.writeCurveBoundedPlane(plane, outer));
     },
     {"#1=IFCCARTESIANPOINT((0.,0.,0.));", "#3=IFCDIRECTION((0.,0.,1.));", "#4=IFCDIRECTION((1.,0.,0.));",
      "#2=IFCAXIS2PLACEMENT3D(#1,#3,#4);", "#5=IFCPLANE(#2);", "#6=IFCCARTESIANPOINT((0.,0.));",
      "#7=IFCCARTESIANPOINT((1.,0.));", "#8=IFCPOLYLINE((#6,#7));", "#9=IFCCURVEBOUNDEDPLANE(#5,#8,());",
      "#10=IFCCONNECTIONSURFACEGEOMETRY(#9,$);"}},
};

INSTANTIATE_TEST_SUITE_P(Golden, GeometryBuilders, ::testing::ValuesIn(goldenCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST(GeometryBuilders, RefusesWhatCannotBeWritten)
{
    ifctest::WrittenFile<ifc::Writer4> file;
    file->writeHeader("a", "o", "p");
    Polygon empty = square();
    empty.points.clear();
    EXPECT_THROW(file->writePolyline2D(empty), std::invalid_argument);
    EXPECT_THROW(file->writePolyline(empty, 0.0), std::invalid_argument);
    EXPECT_THROW(file->writeProfile({}), std::invalid_argument);
    EXPECT_THROW(file->writeProfile({clockwise(square()), clockwise(square())}), std::invalid_argument)
        << "a profile with holes needs an outline";
    EXPECT_THROW(file->writeBoundarySurface(file->writeOriginPlacement(), {}), std::invalid_argument);
    EXPECT_THROW(file->writePlane(nullptr), std::invalid_argument) << "a reference to a missing entity";
}

} // namespace
