// A per-user registry file in a temporary folder that the test's process and its children
// use instead of the user's own, for as long as the object lives.
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
    TempRegistry() : m_file(std::filesystem::path(m_dir.path().toStdString()) / "registry.reg") {
        if (const char* old = std::getenv(platform::registry::kRegistryFileVariable)) m_old = old;
        setenv(platform::registry::kRegistryFileVariable, m_file.c_str(), 1);
    }
    ~TempRegistry() {
        if (m_old) {
            setenv(platform::registry::kRegistryFileVariable, m_old->c_str(), 1);
        } else {
            unsetenv(platform::registry::kRegistryFileVariable);
        }
    }
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    const std::filesystem::path& path() const { return m_file; }
    bool exists() const { return std::filesystem::exists(m_file); }
    platform::registry::RegistryTree read() const {
        return platform::registry::RegistryFile(m_file).read();
    }
    void write(const platform::registry::RegistryTree& tree) const {
        writeText(platform::registry::formatRegistry(tree));
    }
    std::string text() const {
        std::ifstream in(m_file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    void writeText(const std::string& text) const {
        std::ofstream(m_file, std::ios::binary | std::ios::trunc) << text;
    }

private:
    QTemporaryDir m_dir;
    std::filesystem::path m_file;
    std::optional<std::string> m_old;
};
