// Exact, then case-free, lookup of a file in one directory.
#include "util/file_lookup.h"
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
