// A per-user registry file in a temporary folder that the test's process and its children
// use instead of the user's own, for as long as the object lives; and a machine-wide one
// there (not made until written), so that no test reads the computer's own.
#pragma once

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/registry/registry_file.h"
#include "platform/registry/registry_format.h"

class TempRegistry {
public:
    TempRegistry()
        : m_file(std::filesystem::path(m_dir.path().toStdString()) / "registry.reg"),
          m_machine(std::filesystem::path(m_dir.path().toStdString()) / "etc" / "registry.reg") {
        set(platform::registry::kRegistryFileVariable, m_file, m_old);
        set(platform::registry::kMachineRegistryFileVariable, m_machine, m_oldMachine);
    }
    ~TempRegistry() {
        restore(platform::registry::kRegistryFileVariable, m_old);
        restore(platform::registry::kMachineRegistryFileVariable, m_oldMachine);
    }
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    const std::filesystem::path& path() const { return m_file; }
    const std::filesystem::path& machinePath() const { return m_machine; }
    bool exists() const { return std::filesystem::exists(m_file); }
    platform::registry::RegistryTree read() const {
        return platform::registry::RegistryFile(m_file).read();
    }
    void write(const platform::registry::RegistryTree& tree) const {
        writeText(platform::registry::formatRegistry(tree));
    }
    std::string text() const { return textOf(m_file); }
    static std::string textOf(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    void writeText(const std::string& text) const {
        std::ofstream(m_file, std::ios::binary | std::ios::trunc) << text;
    }

private:
    static void set(const char* variable, const std::filesystem::path& file,
                    std::optional<std::string>& old) {
        if (const char* value = std::getenv(variable)) old = value;
        setenv(variable, file.c_str(), 1);
    }
    static void restore(const char* variable, const std::optional<std::string>& old) {
        if (old) {
            setenv(variable, old->c_str(), 1);
        } else {
            unsetenv(variable);
        }
    }

    QTemporaryDir m_dir;
    std::filesystem::path m_file;
    std::filesystem::path m_machine;
    std::optional<std::string> m_old;
    std::optional<std::string> m_oldMachine;
};
