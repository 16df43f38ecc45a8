#include "step/Reader.h"

#include <stdexcept>
#include <type_traits>

namespace step {

template <class T>
void DefaultForwardingVisitor<T>::refuse() const
{
    if (!nested)
        throw std::runtime_error("Conversion failed");
}

// Stores a value of the kind read; any other kind is refused.
template <class T>
template <class V>
void DefaultForwardingVisitor<T>::take(const std::shared_ptr<V>& value)
{
    if constexpr (std::is_same_v<T, V>) {
        if (!nested)
            *target = value;
    } else {
        (void)value;
        refuse();
    }
}

template <class T>
void DefaultForwardingVisitor<T>::visitSeparator()
{
}

template <class T>
void DefaultForwardingVisitor<T>::beginSelect(const std::shared_ptr<Select>&)
{
}

template <class T>
void DefaultForwardingVisitor<T>::beginSet(const std::shared_ptr<Set>&)
{
    refuse();
}

template <class T>
void DefaultForwardingVisitor<T>::beginBag()
{
    refuse();
}

template <class T>
void DefaultForwardingVisitor<T>::beginList(const std::shared_ptr<List>& value)
{
    take(value);
    nested = true;
}

template <class T>
void DefaultForwardingVisitor<T>::beginArray(const std::shared_ptr<Array>&)
{
    refuse();
}

// A typed value is never inside an aggregate, so its end always refuses:
// typed values cannot be read back.
template <class T>
void DefaultForwardingVisitor<T>::endSelect(const std::shared_ptr<Select>&)
{
    refuse();
}

template <class T>
void DefaultForwardingVisitor<T>::endSet(const std::shared_ptr<Set>&)
{
    nested = false;
}

template <class T>
void DefaultForwardingVisitor<T>::endBag()
{
    nested = false;
}

template <class T>
void DefaultForwardingVisitor<T>::endList(const std::shared_ptr<List>&)
{
    nested = false;
}

template <class T>
void DefaultForwardingVisitor<T>::endArray(const std::shared_ptr<Array>&)
{
    nested = false;
}

template <class T>
void DefaultForwardingVisitor<T>::visitLogical(const std::shared_ptr<Logical>& value)
{
    take(value);
}

template <class T>
void DefaultForwardingVisitor<T>::visitBoolean(const std::shared_ptr<Boolean>& value)
{
    take(value);
}

template <class T>
void DefaultForwardingVisitor<T>::visitReference(const std::shared_ptr<Reference>& value)
{
    take(value);
}

template <class T>
void DefaultForwardingVisitor<T>::visitNumber(const std::shared_ptr<Real>&)
{
    refuse();
}

template <class T>
void DefaultForwardingVisitor<T>::visitEnumeration(const std::shared_ptr<Enumeration>& value)
{
    take(value);
}

template <class T>
void DefaultForwardingVisitor<T>::visitOmitted(const std::shared_ptr<Omitted>& value)
{
    take(value);
}

template <class T>
void DefaultForwardingVisitor<T>::visitNull(const std::shared_ptr<Null>& value)
{
    take(value);
}

template <class T>
void DefaultForwardingVisitor<T>::visitReal(const std::shared_ptr<Real>& value)
{
    take(value);
}

template <class T>
void DefaultForwardingVisitor<T>::visitInteger(const std::shared_ptr<Integer>& value)
{
    take(value);
}

template <class T>
void DefaultForwardingVisitor<T>::visitBinary(const std::shared_ptr<String>&)
{
    refuse();
}

template <class T>
void DefaultForwardingVisitor<T>::visitString(const std::shared_ptr<String>& value)
{
    take(value);
}

template class DefaultForwardingVisitor<String>;
template class DefaultForwardingVisitor<Reference>;
template class DefaultForwardingVisitor<Real>;
template class DefaultForwardingVisitor<List>;

} // namespace step
