// Where the web-form template lies and how it is read.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ostrel {

// The name from the settings appended to the folder as text with "/". A name with folders of
// its own stays below the folder; an absolute name does too ("/x.wtf" becomes
// "<folder>//x.wtf"), so a setting never points the add-in at an arbitrary file by accident.
std::filesystem::path templatePath(const std::filesystem::path& folder, std::string_view name);

// The whole template `name` below `folder` (see templatePath) as UTF-8 text (see
// decodeTemplateText). The file is opened, read and closed here; a missing, unreadable or
// non-regular file, a name that is no valid path, or text that its byte-order mark belies,
// throws com::Error whose description names the full path. So does a name that leads out of
// the folder once ".." and symbolic links are resolved: the setting must not put any file of
// the user's into the page. Nothing is ever created.
std::string readTemplateFile(const std::filesystem::path& folder, std::string_view name);

}  // namespace ostrel
