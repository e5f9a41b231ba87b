// The machine-wide registry: record files that every user's editor reads beneath the user's
// own registry, trusted only when root alone can change them (as sshd's StrictModes and sudo
// judge their files).
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry/registry_tree.h"

namespace platform::registry {

// A folder standing in for "/" for every machine-wide place (tests; a non-root user may then
// use ostrel-regsvr --machine).
inline constexpr const char* kMachineRootVariable = "OSTREL_MACHINE_ROOT";
// Set to 1, files owned by the process's own user count as root's too. It cannot widen what
// root trusts (root's own user is root) and gives no other user more than their own registry
// already does; tests, run by an ordinary user, use it.
inline constexpr const char* kTrustOwnFilesVariable = "OSTREL_TRUST_OWN_FILES";

// Who may own machine-wide files and every folder above them.
struct OwnerTrust {
    std::vector<uid_t> owners{0};
    // Root, plus this process's user when $OSTREL_TRUST_OWN_FILES is 1.
    static OwnerTrust forThisProcess();
};

// What a trust check found: the path with every link resolved, which is what must then be
// read or loaded (a link could be changed after the check), and why it is not trusted ("" when
// it is).
struct TrustCheck {
    std::filesystem::path real;
    std::string problem;  // e.g. "/opt/x.so is writable by every user"
    std::string fix;      // the command that mends it, when there is one
    // The problem's parts, for a caller that words it in its own language: what is wrong with
    // `at`, and the system's own words (the error, or the owner's name).
    enum class Fault { None, Unchecked, BecameLink, NotRootsOwn, GroupWritable, EveryoneWritable };
    Fault fault = Fault::None;
    std::filesystem::path at;
    std::string detail;
    bool trusted() const { return problem.empty(); }
};
// The file (or folder) and every folder above it must be owned by a trusted owner and be
// writable by no one else (no group or other write permission).
TrustCheck checkTrusted(const std::filesystem::path& path, const OwnerTrust& trust);

// Whether a machine-wide record file may be written (ostrel-regsvr --machine): no link at
// the file or at the two folders above it (which it may have to make; a link is never
// followed there), and the file, or the nearest of those folders that exists, trusted.
// `real` is unset; `fix` names what mends it.
TrustCheck checkMachineTarget(const std::filesystem::path& file, const OwnerTrust& trust);

// Where the machine-wide records are, in the order they are read: each later file's keys and
// values go over the earlier ones'.
struct MachinePlaces {
    // The package's record files, one per add-in (*.reg), owned by the package.
    std::filesystem::path packageRecords;
    // Those of add-ins installed by hand (ostrel-regsvr --machine).
    std::filesystem::path adminRecords;
    // The single file of earlier versions, still read as it is.
    std::filesystem::path legacyFile;
    // Under $OSTREL_MACHINE_ROOT when set, otherwise "/".
    static MachinePlaces system();
    static MachinePlaces under(const std::filesystem::path& root);
};

// A record file that is not used, and why.
struct RefusedRecords {
    std::filesystem::path file;
    TrustCheck check;    // names the file or folder at fault and the fix
    RegistryTree tree;   // what it holds (empty when it cannot be read), to name its add-ins
};

struct MachineRecords {
    RegistryTree trusted;  // every trusted file's records, in the machine's hive
    std::vector<RefusedRecords> refused;
    std::vector<std::string> problems;         // trusted files that cannot be read, each named
    std::vector<std::filesystem::path> files;  // every record file found, in reading order
};

class MachineRegistry {
public:
    MachineRegistry(MachinePlaces places = MachinePlaces::system(),
                    OwnerTrust trust = OwnerTrust::forThisProcess())
        : m_places(std::move(places)), m_trust(std::move(trust)) {}
    const MachinePlaces& places() const { return m_places; }
    const OwnerTrust& trust() const { return m_trust; }
    // Never throws: what cannot be read is a problem, what is not trusted is refused.
    MachineRecords read() const;

private:
    MachinePlaces m_places;
    OwnerTrust m_trust;
};

// The record files of a drop-in folder, sorted by name; none when it does not exist.
std::vector<std::filesystem::path> recordFiles(const std::filesystem::path& folder);

}  // namespace platform::registry
