// At the editor's start: the add-ins that a previous run was still running when it crashed,
// was killed or hung, each named to the author with the offer to disable it.
#pragma once

#include <QString>
#include <chrono>
#include <map>
#include <string>
#include <string_view>

#include "host/addins/load_record.h"
#include "platform/registry/registry_file.h"

class QWidget;

namespace host {

class MessageBoxService;

// A call that began this long ago in an editor that still runs is taken as a hang.
inline constexpr std::chrono::seconds kHangAfter{30};

// Asks once per add-in whether to disable it; "Yes" sets its LoadBehavior to "not loaded"
// in its registration record, which stays otherwise. Each record is removed once asked
// about. Returns, by class id, what happened to each add-in, for the Add-ins dialog.
std::map<std::string, QString> offerToDisableUnfinished(
    const LoadRecords& records, platform::registry::RegistryFile registry, std::string_view hostKey,
    MessageBoxService& messages, QWidget* parent, std::chrono::seconds hangAfter = kHangAfter);

}  // namespace host
