#include "tasks/WeftBase.h"

#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

TWeftObject::~TWeftObject() = default;

QString TWeftObject::ClassName() const
{
    return WeftTypeName(typeid(*this));
}

IInterface::~IInterface() = default;

QString WeftTypeName(const std::type_info& type)
{
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    const QString r = QString::fromUtf8(status == 0 && name ? name : type.name());
    std::free(name);
    return r;
}
