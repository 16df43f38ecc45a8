#include "model/References.h"

#include "model/Uuid.h"

namespace bg {

namespace {

template <class T>
std::string idOf(std::unordered_map<std::shared_ptr<T>, std::string>& ids, const std::shared_ptr<T>& object)
{
    auto found = ids.find(object);
    if (found != ids.end())
        return found->second;
    std::string id = generateUuid();
    ids.emplace(object, id);
    return id;
}

template <class T>
std::shared_ptr<T> resolve(std::unordered_map<std::string, std::shared_ptr<T>>& objects, const std::string& id,
                           const std::shared_ptr<T>& fallback)
{
    auto found = objects.find(id);
    if (found != objects.end())
        return found->second;
    objects.emplace(id, fallback);
    return fallback;
}

} // namespace

std::string References::getId(const std::shared_ptr<Requirement>& object) { return idOf(idByRequirement, object); }
std::string References::getId(const std::shared_ptr<RequirementSet>& object) { return idOf(idByRequirementSet, object); }
std::string References::getId(const std::shared_ptr<Building>& object) { return idOf(idByBuilding, object); }
std::string References::getId(const std::shared_ptr<Floor>& object) { return idOf(idByFloor, object); }

std::shared_ptr<Requirement> References::resolveRequirement(const std::string& id,
                                                            const std::shared_ptr<Requirement>& fallback)
{
    return resolve(requirementById, id, fallback);
}

std::shared_ptr<Building> References::resolveBuilding(const std::string& id, const std::shared_ptr<Building>& fallback)
{
    return resolve(buildingById, id, fallback);
}

std::shared_ptr<Floor> References::resolveFloor(const std::string& id, const std::shared_ptr<Floor>& fallback)
{
    return resolve(floorById, id, fallback);
}

} // namespace bg
