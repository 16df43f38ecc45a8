#pragma once

#include "model/Serializable.h"

#include <memory>
#include <string>

namespace bg {

class Building;

// A named place on the map on which one building stands.
class Site : public std::enable_shared_from_this<Site>, public Serializable<References> {
public:
    Site() = default;

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    std::shared_ptr<Building> building;
    std::string name = "Site";
    double orientation = 0.0; // radians
    double lat = 0.0;         // degrees
    double lon = 0.0;         // degrees
};

} // namespace bg
