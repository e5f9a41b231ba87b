// A loadable module that reports the folder its own copy of the lookup finds.
#include <string>

#include "wizard/snippet/module_folder.h"

extern "C" __attribute__((visibility("default"))) const char* fixtureModuleFolder() {
    static std::string folder;
    folder = ostrel::moduleFolder().string();
    return folder.c_str();
}
