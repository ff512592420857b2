// Whole-file reads with a limit: a file at the limit, one past it, an
// endless device, a directory and a missing file.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "util/bounded_file.h"

namespace {
std::string write_temp(const std::string& name, const std::string& text) {
    std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}
}  // namespace

TEST(BoundedFile, LimitIsInclusiveAndLongerFilesKeepTheirStart) {
    std::string text(100000, 'x');
    text[99999] = 'y';
    std::string path = write_temp("fuga_bounded_100000", text);
    std::string out;
    EXPECT_EQ(read_bounded_file(path, out, 100000), BoundedRead::Ok);
    EXPECT_EQ(out, text);
    EXPECT_EQ(read_bounded_file(path, out, 99999), BoundedRead::TooLong);
    EXPECT_EQ(out, text.substr(0, 99999));
    EXPECT_EQ(read_bounded_file(path, out, 0), BoundedRead::TooLong);
    EXPECT_TRUE(out.empty());
    std::remove(path.c_str());

    std::string empty = write_temp("fuga_bounded_empty", "");
    EXPECT_EQ(read_bounded_file(empty, out, 0), BoundedRead::Ok);
    std::remove(empty.c_str());
}

TEST(BoundedFile, EndlessDirectoryAndMissingSourcesAreRefused) {
    std::string out;
    EXPECT_EQ(read_bounded_file("/dev/zero", out, 1u << 20), BoundedRead::TooLong);
    EXPECT_EQ(out.size(), 1u << 20);

    // A directory opens on Linux and fails at the read; Windows refuses to
    // open it. Either way errno says so and nothing is read.
    BoundedRead directory = read_bounded_file(std::filesystem::temp_directory_path().string(), out, 1000);
    int why = errno;
    if (directory == BoundedRead::ReadError) EXPECT_EQ(why, EISDIR);
    else EXPECT_TRUE(directory == BoundedRead::CannotOpen && why == EACCES) << int(directory) << " " << why;
    EXPECT_TRUE(out.empty());

    EXPECT_EQ(read_bounded_file("/nonexistent/fuga/file", out, 1000), BoundedRead::CannotOpen);
    EXPECT_EQ(errno, ENOENT);
}
