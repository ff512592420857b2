// Shared libraries loaded at run time.
#include <dlfcn.h>

#include "platform/os.h"

std::string os_library_file_name(const std::string& name) { return "lib" + name + ".so"; }

void* os_library_open(const std::string& path) {
    if (path.empty()) return nullptr;
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* os_library_symbol(void* library, const char* name) { return library ? dlsym(library, name) : nullptr; }

void os_library_close(void* library) {
    if (library) dlclose(library);
}
