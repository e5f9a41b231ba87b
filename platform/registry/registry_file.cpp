// The per-user registry file: snapshot reads and locked, all-or-nothing changes.
#include "platform/registry/registry_file.h"

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "platform/files/user_file.h"
#include "platform/registry/registry_format.h"
#include "platform/text/text_format.h"

namespace fs = std::filesystem;

namespace platform::registry {
namespace {

constexpr std::string_view kSource = "Registry";

}  // namespace

RegistryFile::RegistryFile() : m_file(defaultPath()) {}

RegistryFile::RegistryFile(fs::path file) : m_file(std::move(file)) {}

fs::path RegistryFile::defaultPath() {
    if (const char* file = std::getenv(kRegistryFileVariable); file && file[0] != '\0') {
        return file;
    }
    return platform::files::configHome() / "ostrel" / "registry.reg";
}

RegistryFile RegistryFile::machine(fs::path path) {
    RegistryFile file(std::move(path));
    file.m_readableByAll = true;
    return file;
}

RegistryTree RegistryFile::parse(const std::string& text, std::string_view action) const {
    try {
        return parseRegistry(text);
    } catch (const platform::text::TextFormatError& e) {
        throw platform::files::unreadableFileError(e, action, m_file, kSource);
    }
}

RegistryTree RegistryFile::read() const {
    const auto text = platform::files::readFile(m_file, kSource);
    return text ? parse(*text, "Cannot read") : RegistryTree();
}

void RegistryFile::modify(const std::function<void(RegistryTree&)>& change) {
    // Every user's editor reads the machine-wide records: no folder made for them may be
    // private, whatever the umask.
    if (m_readableByAll) {
        std::vector<fs::path> missing;
        std::error_code error;
        for (fs::path at = m_file.parent_path(); !at.empty() && !fs::exists(at, error);
             at = at.parent_path()) {
            missing.push_back(at);
            if (at == at.parent_path()) break;
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            if (::mkdir(it->c_str(), 0755) == 0) ::chmod(it->c_str(), 0755);
        }
    }
    const platform::files::FileLock lock(m_file, m_lockTimeout, kSource);
    const auto text = platform::files::readFile(m_file, kSource);
    RegistryTree tree = text ? parse(*text, "Cannot change") : RegistryTree();
    const std::string before = formatRegistry(tree);
    change(tree);
    const std::string after = formatRegistry(tree);
    if (after == before) return;
    platform::files::replaceFile(m_file, after, kSource);
    if (m_readableByAll && !text) ::chmod(m_file.c_str(), 0644);
}

void RegistryFile::setValue(std::string_view path, std::string_view name, RegistryData data) {
    modify([&](RegistryTree& tree) { tree.setValue(path, name, std::move(data)); });
}

bool RegistryFile::deleteValue(std::string_view path, std::string_view name) {
    bool deleted = false;
    modify([&](RegistryTree& tree) { deleted = tree.deleteValue(path, name); });
    return deleted;
}

bool RegistryFile::deleteTree(std::string_view path) {
    bool deleted = false;
    modify([&](RegistryTree& tree) { deleted = tree.deleteTree(path); });
    return deleted;
}

}  // namespace platform::registry
