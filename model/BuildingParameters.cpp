#include "model/BuildingParameters.h"

const BuildingParameters& getBuildingParameters()
{
    // A function-local static is created once, thread-safely, and never freed.
    static const BuildingParameters* defaults = new BuildingParameters();
    return *defaults;
}
