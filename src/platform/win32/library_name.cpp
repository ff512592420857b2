// The file names of shared libraries on Windows.
#include "platform/os.h"

std::string os_library_file_name(const std::string& name) { return name + ".dll"; }
