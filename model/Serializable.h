#pragma once

namespace tinyxml2 {
class XMLElement;
}

namespace bg {

// The polymorphic base of every model class: how an object writes itself into
// the element that stands for it in the project file, and reads itself back.
// The context type carries the ids of one save or load.
template <class Context>
class Serializable {
public:
    virtual ~Serializable() = default;
    virtual void write(Context& references, tinyxml2::XMLElement* element) const = 0;
    virtual void read(Context& references, tinyxml2::XMLElement* element) = 0;
};

class References;

} // namespace bg
