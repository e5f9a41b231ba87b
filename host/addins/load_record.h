// The per-user record of the add-in code the editor is running at this moment, so that the
// next start can tell which add-in took the editor down or left it hanging.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace host {

// What the editor is doing with which add-in.
struct AddInCall {
    std::string progId;     // empty for an add-in named on the command line
    std::string classId;    // in registry form, {XXXXXXXX-...}
    std::string module;     // the module's path
    std::string operation;  // see describeOperation
};

// "loading it", "running OnDisconnection", ... for messages to the author.
std::string describeOperation(const std::string& operation);

// A record that another run of the editor left behind.
struct UnfinishedCall {
    AddInCall call;
    long processId = 0;
    bool stillRunning = false;  // that editor still runs: it has been stuck for `seconds`
    std::int64_t seconds = 0;   // since the call began
    std::filesystem::path file;
};

// One small file per running editor, "addin-call-<pid>", present only while an add-in's code
// runs: written before the module is opened or one of its operations is called, removed
// when the call returns. A crash, a kill or a hang leaves it behind. Writing it must not
// cost a load much, so it is one write without a flush to disk: it has to outlive the
// editor, not the machine.
class LoadRecords {
public:
    explicit LoadRecords(std::filesystem::path folder);
    // $XDG_STATE_HOME/ostrel when that is an absolute path, otherwise ~/.local/state/ostrel.
    static std::filesystem::path defaultFolder();
    const std::filesystem::path& folder() const { return m_folder; }

    // Removes the record when it goes; copy and move are deleted so it goes once.
    class Scope {
    public:
        explicit Scope(const LoadRecords* records) : m_records(records) {}
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        const LoadRecords* m_records;
    };
    // Never throws: an editor that cannot write its record still loads its add-ins.
    [[nodiscard]] Scope record(const AddInCall& call) const;

    // Records of other runs: those whose editor has ended, and those of an editor still
    // running whose call began at least `hangAfter` ago (a younger one is another editor at
    // work). Records that cannot be read are left out.
    std::vector<UnfinishedCall> unfinished(std::chrono::seconds hangAfter) const;
    void forget(const UnfinishedCall& record) const;

private:
    std::filesystem::path ownFile() const;
    void clear() const;

    std::filesystem::path m_folder;
};

}  // namespace host
