#include "PlatformRules.h"

#include "platform/Names.h"

std::string lastExtension(const std::string& name)
{
    const auto point = name.rfind('.');
    return point == std::string::npos ? name : name.substr(point + 1);
}

bool isProjectFileName(const std::string& name)
{
    return lastExtension(name) == "xsp";
}

bool isRequirementFileName(const std::string& name)
{
    return lastExtension(name) == "csv";
}

std::string nameBeforeFirstPoint(const std::string& name)
{
    return name.substr(0, name.find('.'));
}

std::string savedNameProblem(const std::string& name)
{
    std::string problem = kovraplatform::nameProblem(name);
    if (problem.empty() && name.front() == '.')
        problem = "a name cannot start with a point";
    return problem;
}
