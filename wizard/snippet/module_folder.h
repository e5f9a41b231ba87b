// The folder of the loaded module that holds this code: where the add-in's template lies.
#pragma once

#include <filesystem>

namespace ostrel {

// Found from the loaded module at run time, never from the working directory. Throws
// com::Error when the module's file cannot be determined.
std::filesystem::path moduleFolder();

}  // namespace ostrel
