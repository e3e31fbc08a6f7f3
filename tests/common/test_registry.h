// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// Every test class of a folder registers itself here; the shared main runs them all in one
// executable so that each source folder has one test program.
namespace orin::test {

struct Registration {
    const char *name;
    std::function<std::unique_ptr<QObject>()> make;
};

inline std::vector<Registration> &Registry()
{
    static std::vector<Registration> registry;
    return registry;
}

struct Registrar {
    Registrar(const char *name, std::function<std::unique_ptr<QObject>()> make)
    {
        Registry().push_back({name, std::move(make)});
    }
};

} // namespace orin::test

#define ORIN_TEST_CLASS(Class)                                                                  \
    static const orin::test::Registrar orinRegistrar##Class(                                    \
        #Class, [] { return std::unique_ptr<QObject>(new Class); });
