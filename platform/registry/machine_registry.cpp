// Trusting machine-wide files by their owner and permissions, and reading the records.
#include "platform/registry/machine_registry.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/failure/failure.h"
#include "platform/registry/registry_changes.h"
#include "platform/registry/registry_file.h"

namespace fs = std::filesystem;

namespace platform::registry {
namespace {

std::string ownerName(uid_t uid) {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    const std::string number = std::to_string(uid);
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found) {
        return std::string(found->pw_name) + " (" + number + ")";
    }
    return "user " + number;
}

std::string quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

}  // namespace

OwnerTrust OwnerTrust::forThisProcess() {
    OwnerTrust trust;
    const char* own = std::getenv(kTrustOwnFilesVariable);
    if (own && std::string_view(own) == "1" && ::geteuid() != 0)
        trust.owners.push_back(::geteuid());
    return trust;
}

TrustCheck checkTrusted(const fs::path& path, const OwnerTrust& trust) {
    TrustCheck check;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) {
        check.problem = quoted(path) + " cannot be checked: " + std::strerror(errno);
        check.fault = TrustCheck::Fault::Unchecked;
        check.at = path;
        check.detail = std::strerror(errno);
        return check;
    }
    check.real = resolved;
    std::free(resolved);
    // From the file up to "/": each must be root's (or a trusted owner's) and writable by
    // no one else, or someone else could replace what lies below it.
    for (fs::path at = check.real;; at = at.parent_path()) {
        check.at = at;
        struct stat info {};
        if (::lstat(at.c_str(), &info) != 0) {
            check.detail = std::strerror(errno);
            check.problem = quoted(at) + " cannot be checked: " + check.detail;
            check.fault = TrustCheck::Fault::Unchecked;
            return check;
        }
        if (S_ISLNK(info.st_mode)) {
            check.problem = quoted(at) + " became a link while it was checked";
            check.fault = TrustCheck::Fault::BecameLink;
            return check;
        }
        const bool owned =
            std::find(trust.owners.begin(), trust.owners.end(), info.st_uid) != trust.owners.end();
        if (!owned) {
            check.detail = ownerName(info.st_uid);
            check.problem = quoted(at) + " is owned by " + check.detail + ", not root";
            check.fault = TrustCheck::Fault::NotRootsOwn;
            check.fix = "chown root:root " + quoted(at);
            return check;
        }
        if (info.st_mode & (S_IWGRP | S_IWOTH)) {
            check.problem = quoted(at) + ((info.st_mode & S_IWOTH) ? " is writable by every user"
                                                                   : " is writable by its group");
            check.fault = (info.st_mode & S_IWOTH) ? TrustCheck::Fault::EveryoneWritable
                                                   : TrustCheck::Fault::GroupWritable;
            check.fix = "chmod go-w " + quoted(at);
            return check;
        }
        if (at == at.root_path()) {
            check.at.clear();
            return check;
        }
    }
}

TrustCheck checkMachineTarget(const fs::path& file, const OwnerTrust& trust) {
    std::optional<fs::path> nearest;
    fs::path at = file;
    for (int level = 0; level < 3 && at.has_relative_path(); ++level, at = at.parent_path()) {
        struct stat info {};
        if (::lstat(at.c_str(), &info) != 0) {
            if (errno == ENOENT) continue;
            TrustCheck check;
            check.detail = std::strerror(errno);
            check.problem = quoted(at) + " cannot be checked: " + check.detail;
            check.fault = TrustCheck::Fault::Unchecked;
            check.at = at;
            return check;
        }
        if (S_ISLNK(info.st_mode)) {
            TrustCheck check;
            check.problem = quoted(at) + " is a link, which is never followed there";
            check.fix = "rm " + quoted(at);
            check.at = at;
            return check;
        }
        if (!nearest) nearest = at;
    }
    // None made yet: the first folder above them that is there.
    std::error_code error;
    while (!nearest && at.has_relative_path() && !fs::exists(at, error)) at = at.parent_path();
    TrustCheck check = checkTrusted(nearest ? *nearest : at, trust);
    if (!check.trusted() && nearest == file && check.fix.starts_with("chown")) {
        check.fix += " && chmod 0644 " + quoted(file);
    }
    check.real.clear();
    return check;
}

MachinePlaces MachinePlaces::system() {
    const char* root = std::getenv(kMachineRootVariable);
    return under(root && root[0] != '\0' ? fs::path(root) : fs::path("/"));
}

MachinePlaces MachinePlaces::under(const fs::path& root) {
    const auto at = [&](std::string_view place) { return root / fs::path(place).relative_path(); };
    return {at(OSTREL_PACKAGE_RECORDS_DIR), at("/etc/ostrel/registry.d"), at(kMachineRegistryFile)};
}

std::vector<fs::path> recordFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with('.') || !name.ends_with(".reg")) continue;
        files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

MachineRecords MachineRegistry::read() const {
    MachineRecords records;
    auto files = recordFiles(m_places.packageRecords);
    for (auto& file : recordFiles(m_places.adminRecords)) files.push_back(std::move(file));
    std::error_code error;
    if (fs::symlink_status(m_places.legacyFile, error).type() != fs::file_type::not_found && !error)
        files.push_back(m_places.legacyFile);
    for (const fs::path& file : files) {
        records.files.push_back(file);
        const TrustCheck check = checkTrusted(file, m_trust);
        RegistryTree tree;
        std::string unreadable;
        try {
            // What the check judged, not the link that led there; of a file not trusted, only
            // a plain file is read (a pipe there would keep the editor waiting).
            if (check.trusted() || fs::is_regular_file(file, error))
                tree = RegistryFile(check.trusted() ? check.real : file).read();
        } catch (const platform::Error& e) {
            unreadable = e.description();
        }
        if (!check.trusted()) {
            // The caller words the reason, in the language it shows it in.
            records.refused.push_back({file, check, std::move(tree)});
        } else if (!unreadable.empty()) {
            records.problems.push_back(std::move(unreadable));
        } else {
            overlay(records.trusted, tree);
        }
    }
    return records;
}

}  // namespace platform::registry
