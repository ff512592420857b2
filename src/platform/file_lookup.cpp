// Exact, then case-free, lookup of a file in one directory.
#include "platform/file_lookup.h"

#include "platform/os.h"
#include "util/latin1.h"

#include <filesystem>
#include <system_error>

namespace {

bool same_without_case(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ascii_upper(static_cast<unsigned char>(a[i])) != ascii_upper(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

// The name with the case of each ASCII letter turned.
std::string other_case(const std::string& name) {
    std::string turned = name;
    for (char& c : turned) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return turned;
}

}  // namespace

bool file_is_directory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string file_lookup(const std::string& directory, const std::string& name) {
    // Both separators: a backslash leaves the directory on Windows.
    if (name.empty() || name.find_first_of("/\\") != std::string::npos) return "";
    // Where names ignore case the system finds the file and tells its name
    // itself: listing the directory at every recording cost most of a turn.
    std::string stored;
    if (os_stored_file_name(directory + name, stored)) return stored.empty() ? "" : directory + stored;
    std::error_code ec;
    std::string exact = directory + name;
    bool found = std::filesystem::is_regular_file(exact, ec);
    // A file system that ignores case here too (a mounted one), where the
    // name in the other case finds the same file: the name is then taken
    // from the directory, so that the file is named as it is called there.
    if (found && !std::filesystem::is_regular_file(directory + other_case(name), ec)) return exact;
    std::filesystem::path dir = directory.empty() ? std::filesystem::path(".") : std::filesystem::path(directory);
    std::filesystem::directory_iterator it(dir, ec), end;
    std::string without_case;
    for (; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (!same_without_case(entry, name) || !std::filesystem::is_regular_file(it->path(), ec)) continue;
        if (entry == name) return exact;
        if (without_case.empty()) without_case = directory + entry;
    }
    if (!without_case.empty()) return without_case;
    return found ? exact : "";
}
