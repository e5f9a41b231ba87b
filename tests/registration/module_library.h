// A module opened for a test, closed again when the test ends.
#pragma once

#include <dlfcn.h>

#include <stdexcept>
#include <string>

class ModuleLibrary {
public:
    explicit ModuleLibrary(const std::string& path)
        : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (!m_handle) {
            const char* reason = dlerror();
            throw std::runtime_error("cannot load " + path + ": " + (reason ? reason : "?"));
        }
    }
    ~ModuleLibrary() { dlclose(m_handle); }
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    // The exported function of that name; throws when the module lacks it.
    template <class Fn>
    Fn entry(const char* name) const {
        void* symbol = dlsym(m_handle, name);
        if (!symbol) throw std::runtime_error(std::string("no entry point ") + name);
        return reinterpret_cast<Fn>(symbol);
    }

private:
    void* m_handle;
};
