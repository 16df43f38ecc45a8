#pragma once

// The thirteen construction dimensions of a building, in metres (the glazing
// factors are plain ratios). The process-wide defaults never change; every
// building carries its own copy.
struct BuildingParameters {
    double outerWallStrength = 0.36;
    double innerWallStrength = 0.2;
    double doorWidth = 1.0;
    double doorHeight = 2.0;
    double roomHeight = 2.75;
    double cillHeight = 0.8;
    double windowHeight = 1.2;
    double pathWidth = 1.4;
    double baseSlabStrength = 0.5;
    double floorSlabStrength = 0.2;
    double roofSlab = 0.35;
    double doorGlazingFactor = 0.0;
    double windowGlazingFactor = 0.05;

    double getOuterWallStrength() const { return outerWallStrength; }
    double getInnerWallStrength() const { return innerWallStrength; }
    double getDoorWidth() const { return doorWidth; }
};

// The built-in defaults, created on first use and alive until the process ends.
const BuildingParameters& getBuildingParameters();
