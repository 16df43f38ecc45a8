#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace bg {

class Building;
class Floor;
class Requirement;
class RequirementSet;

// The id context of one save or one load of a project file. Saving hands out
// one fresh uuid text per object; loading maps the texts back to objects and
// creates floors that are referred to before their own element is read.
class References {
public:
    References() = default;
    ~References() = default;
    References(const References&) = delete;
    References& operator=(const References&) = delete;

    std::string getId(const std::shared_ptr<Requirement>& object);
    std::string getId(const std::shared_ptr<RequirementSet>& object);
    std::string getId(const std::shared_ptr<Building>& object);
    std::string getId(const std::shared_ptr<Floor>& object);

    // The object registered under id (possibly empty); otherwise fallback,
    // which is registered under id.
    std::shared_ptr<Requirement> resolveRequirement(const std::string& id,
                                                    const std::shared_ptr<Requirement>& fallback);
    std::shared_ptr<Building> resolveBuilding(const std::string& id,
                                              const std::shared_ptr<Building>& fallback);
    std::shared_ptr<Floor> resolveFloor(const std::string& id, const std::shared_ptr<Floor>& fallback);

    std::unordered_map<std::string, std::shared_ptr<Requirement>> requirementById;
    std::unordered_map<std::shared_ptr<Requirement>, std::string> idByRequirement;
    std::unordered_map<std::string, std::shared_ptr<RequirementSet>> requirementSetById;
    std::unordered_map<std::shared_ptr<RequirementSet>, std::string> idByRequirementSet;
    std::unordered_map<std::string, std::shared_ptr<Building>> buildingById;
    std::unordered_map<std::shared_ptr<Building>, std::string> idByBuilding;
    std::unordered_map<std::string, std::shared_ptr<Floor>> floorById;
    std::unordered_map<std::shared_ptr<Floor>, std::string> idByFloor;
    // The floors a load read from their own elements; the others in
    // floorById stand in for ids that only links name.
    std::unordered_set<std::shared_ptr<Floor>> floorsRead;

    // What a load found damaged in the file and mended (a link to an object
    // the file does not hold, level fields that disagree with the floors), one
    // readable sentence each, in the order met.
    std::vector<std::string> warnings;
};

} // namespace bg
