// Exact, then case-free, lookup of a file in one directory.
#include "util/file_lookup.h"

#include <filesystem>
#include <system_error>

namespace {

bool same_without_case(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace

bool file_is_directory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string file_lookup(const std::string& directory, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return "";
    std::error_code ec;
    std::string exact = directory + name;
    if (std::filesystem::is_regular_file(exact, ec)) return exact;
    std::filesystem::path dir = directory.empty() ? std::filesystem::path(".") : std::filesystem::path(directory);
    std::filesystem::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (same_without_case(entry, name) && std::filesystem::is_regular_file(it->path(), ec))
            return directory + entry;
    }
    return "";
}
