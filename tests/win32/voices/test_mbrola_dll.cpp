// MBROLA on Windows: mbrola.dll is found by its name where the system looks
// for libraries, with all its entry points; without it (and without an
// mbrola.exe) the engine cannot bind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/os.h"
#include "verna/mbrola.h"

namespace {
std::string program_folder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path, n);
    return p.substr(0, p.find_last_of("\\/") + 1);
}
}  // namespace

TEST(MbrolaDll, BoundByNameFromTheLibraryPathAndNotWithoutIt) {
    EXPECT_EQ(os_library_file_name("mbrola"), "mbrola.dll");
    mbrola_reset();
    // The stand-in is kept in a folder of its own, as an installation's is.
    ASSERT_TRUE(SetDllDirectoryA((program_folder() + "voices").c_str()));
    EXPECT_TRUE(mbrola_bind());
    EXPECT_FALSE(mbrola_builtin()) << "the library, not the program over pipes";
    ASSERT_TRUE(mbrola_bound());
    EXPECT_EQ(mbrola().init("C:\\mbrola\\br1\\br1"), 0);
    EXPECT_LT(mbrola().init("C:\\missing\\br1"), 0);
    mbrola_reset();
    SetDllDirectoryA(nullptr);
    if (os_find_program("mbrola").empty()) {
        EXPECT_FALSE(mbrola_bind()) << "no mbrola.dll, no mbrola.exe";
    }
    mbrola_reset();
}
