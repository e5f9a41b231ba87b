// A per-user registry file in a temporary folder that the test's process and its children
// use instead of the user's own, for as long as the object lives; and a stand-in for the
// machine-wide places (nothing made until written), so that no test reads the computer's own.
// The stand-in is in the test's working folder (the build tree), not the temporary folder:
// every folder above machine-wide records must be writable by their owner alone, which
// /tmp is not. Files of the test's own user count as root's (OSTREL_TRUST_OWN_FILES).
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/registry/machine_registry.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/registry_format.h"

class TempRegistry {
public:
    TempRegistry()
        : m_file(std::filesystem::path(m_dir.path().toStdString()) / "registry.reg"),
          m_machineDir(QDir::currentPath() + "/machine-XXXXXX"),
          m_machineRoot(m_machineDir.path().toStdString()) {
        set(platform::registry::kRegistryFileVariable, m_file, m_old);
        set(platform::registry::kMachineRootVariable, m_machineRoot, m_oldMachine);
        set(platform::registry::kTrustOwnFilesVariable, "1", m_oldTrust);
    }
    ~TempRegistry() {
        restore(platform::registry::kRegistryFileVariable, m_old);
        restore(platform::registry::kMachineRootVariable, m_oldMachine);
        restore(platform::registry::kTrustOwnFilesVariable, m_oldTrust);
    }
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    const std::filesystem::path& path() const { return m_file; }
    const std::filesystem::path& machineRoot() const { return m_machineRoot; }
    platform::registry::MachinePlaces machinePlaces() const {
        return platform::registry::MachinePlaces::under(m_machineRoot);
    }
    // Where ostrel-regsvr --machine records the module's add-in.
    std::filesystem::path machineRecords(const std::filesystem::path& module) const {
        return machinePlaces().adminRecords / (module.stem().string() + ".reg");
    }
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
    QTemporaryDir m_machineDir;
    std::filesystem::path m_machineRoot;
    std::optional<std::string> m_old;
    std::optional<std::string> m_oldMachine;
    std::optional<std::string> m_oldTrust;
};
