// The module folder comes from the loaded module, whatever the working directory.
#include "wizard/snippet/module_folder.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/snippet/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Runs the test in another working directory and returns to the first one afterwards.
class ElsewhereFolder : public testing::Test {
protected:
    void TearDown() override { fs::current_path(m_start); }
    const fs::path m_start = fs::current_path();
    snippet_test::TempFolder m_elsewhere;
};

TEST_F(ElsewhereFolder, FindsTheProgramsOwnFolder) {
    const fs::path expected = fs::read_symlink("/proc/self/exe").parent_path();
    fs::current_path(m_elsewhere.path());
    EXPECT_EQ(ostrel::moduleFolder(), expected);
}

TEST_F(ElsewhereFolder, FindsTheFolderOfAModuleLoadedByARelativeName) {
    const fs::path module = SNIPPET_MODULE_FIXTURE;
    // Loaded the way a host may load an add-in: by a name relative to the working directory,
    // which then changes.
    fs::current_path(module.parent_path());
    void* handle = ::dlopen(("./" + module.filename().string()).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    fs::current_path(m_elsewhere.path());
    const auto folderOf =
        reinterpret_cast<const char* (*)()>(::dlsym(handle, "fixtureModuleFolder"));
    ASSERT_NE(folderOf, nullptr) << ::dlerror();
    EXPECT_EQ(fs::path(folderOf()), module.parent_path());
    EXPECT_NE(fs::path(folderOf()), ostrel::moduleFolder());
    ::dlclose(handle);
}

}  // namespace
