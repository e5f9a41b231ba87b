// An in-memory settings store for tests: records every write in order, can fail the n-th.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "com/error.h"
#include "wizard/settings/settings_store.h"

namespace snippet_test {

class RecordingSettingsStore : public ostrel::SettingsStore {
public:
    struct Write {
        std::string application, section, key, value;
    };

    std::optional<std::string> value(std::string_view application, std::string_view section,
                                     std::string_view key) const override {
        const auto it =
            m_values.find({std::string(application), std::string(section), std::string(key)});
        if (it == m_values.end()) return std::nullopt;
        return it->second;
    }

    void setValue(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view value) override {
        if (++m_attempts == m_failingWrite) {
            throw com::Error(com::errc::permissionDenied, "The settings file is read-only.",
                             "RecordingSettingsStore");
        }
        m_values[{std::string(application), std::string(section), std::string(key)}] = value;
        m_writes.push_back(
            {std::string(application), std::string(section), std::string(key), std::string(value)});
    }

    // A value present before the test, under the wizard's application and section; not a write.
    void preset(std::string_view key, std::string_view value) {
        m_values[{"Ostrel_Plugin", "Persist_Data", std::string(key)}] = value;
    }
    std::optional<std::string> stored(std::string_view key) const {
        return value("Ostrel_Plugin", "Persist_Data", key);
    }
    // The n-th write from now on (1 for the first) throws and stores nothing.
    void failOnWrite(int n) { m_failingWrite = m_attempts + n; }

    const std::vector<Write>& writes() const { return m_writes; }
    std::vector<std::pair<std::string, std::string>> writtenKeysAndValues() const {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& w : m_writes) out.emplace_back(w.key, w.value);
        return out;
    }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> m_values;
    std::vector<Write> m_writes;
    int m_attempts = 0;
    int m_failingWrite = 0;
};

}  // namespace snippet_test
