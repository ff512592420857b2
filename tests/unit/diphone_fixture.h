// A throw-away installation for the synthesizer's tests: TALUNE.INI in a
// private Windows directory, a letters directory, and a diphones directory
// with a voice database written from a table of units.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "diphone/diphone.h"
#include "util/random.h"
#include "system_support.h"

namespace diphone_test {

namespace fs = std::filesystem;

inline void write_file(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void write_text(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline void put_le(std::vector<uint8_t>& v, uint32_t x, int bytes) {
    for (int i = 0; i < bytes; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

inline void put_id(std::vector<uint8_t>& v, const char* id) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(id[i]));
}

// One 15-byte index record.
inline void put_record(std::vector<uint8_t>& index, const std::string& name, uint32_t length, uint32_t offset,
                       uint8_t name_length = 0) {
    index.push_back(name_length ? name_length : static_cast<uint8_t>(name.size()));
    for (size_t i = 0; i < 8; ++i) index.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
    put_le(index, length, 2);
    put_le(index, offset, 4);
}

// A unit's samples: a recognisable byte pattern per unit.
inline std::vector<uint8_t> unit_samples(size_t n, uint8_t value) { return std::vector<uint8_t>(n, value); }

// A WAV file: RIFF, fmt, optional chunk before data, data (its size field
// may claim more than is written).
inline std::vector<uint8_t> wav_bytes(const std::vector<uint8_t>& samples, bool extra_chunk = false,
                                      uint32_t claimed = 0) {
    std::vector<uint8_t> v;
    put_id(v, "RIFF");
    put_le(v, 36 + static_cast<uint32_t>(samples.size()), 4);
    put_id(v, "WAVE");
    put_id(v, "fmt ");
    put_le(v, 16, 4);
    put_le(v, 1, 2);
    put_le(v, 1, 2);
    put_le(v, 11025, 4);
    put_le(v, 11025, 4);
    put_le(v, 1, 2);
    put_le(v, 8, 2);
    if (extra_chunk) {
        put_id(v, "LIST");
        put_le(v, 6, 4);
        for (int i = 0; i < 6; ++i) v.push_back('x');
    }
    put_id(v, "data");
    put_le(v, claimed ? claimed : static_cast<uint32_t>(samples.size()), 4);
    v.insert(v.end(), samples.begin(), samples.end());
    return v;
}

class DiphoneFixture : public ::testing::Test {
protected:
    fs::path root, letters, difones;
    std::vector<std::vector<uint8_t>> images;
    std::vector<DiphoneEvent> trace;

    void SetUp() override {
        static int serial = 0;
        root = fs::temp_directory_path() / ("fuga_diphone_" + std::to_string(sys_process_id()) + "_" + std::to_string(serial++));
        fs::remove_all(root);
        letters = root / "letras";
        difones = root / "difones";
        fs::create_directories(root / "home");
        fs::create_directories(letters);
        fs::create_directories(difones);
        sys_set_env("TALUNE_HOME", root / "home");
        write_text(root / "home" / "TALUNE.INI", "[TRADUTOR]\ndirLetras=" + letters.string() +
                                                     "\nDIRDIFONES=" + difones.string() + "/\n");
        write_text(difones / "regras.rgr", "(A)=a\n");
        write_text(difones / "portug.exc", "\n");
        diphone_reset();
        random_reset();
        diphone_set_output_hook(
            [](const uint8_t* image, size_t bytes, void* ctx) {
                static_cast<DiphoneFixture*>(ctx)->images.emplace_back(image, image + bytes);
            },
            this);
        diphone_set_trace(&trace);
    }

    void TearDown() override {
        diphone_reset();
        sys_unset_env("TALUNE_HOME");
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    // Writes DIFONES2.IND/.DIF holding the units (names upper case, sorted by
    // the map's byte order, which is the lookup's order).
    void write_database(const std::map<std::string, std::vector<uint8_t>>& units, const std::string& base = "DIFONES2") {
        std::vector<uint8_t> index, data;
        for (const auto& [name, samples] : units) {
            put_record(index, name, static_cast<uint32_t>(samples.size()), static_cast<uint32_t>(data.size()));
            data.insert(data.end(), samples.begin(), samples.end());
        }
        write_file(difones / (base + ".IND"), index);
        write_file(difones / (base + ".DIF"), data);
    }

    // Units named in NAMES, each `bytes` long, filled with distinct values.
    void write_units(const std::vector<std::string>& names, size_t bytes = 1000) {
        std::map<std::string, std::vector<uint8_t>> units;
        uint8_t v = 10;
        for (const auto& n : names) units[n] = unit_samples(bytes, v++);
        write_database(units);
    }

    void start() { ASSERT_EQ(diphone_start(), 0); }

    // All samples played so far, across images.
    std::vector<uint8_t> played() const {
        std::vector<uint8_t> all;
        for (const auto& im : images) all.insert(all.end(), im.begin() + 44, im.end());
        return all;
    }

    // The trace reduced to "kind:name" for units and letters found or not.
    std::vector<std::string> units_tried() const {
        std::vector<std::string> out;
        for (const auto& e : trace)
            if (e.kind == 'u' || e.kind == 'l') out.push_back(e.name + (e.found ? "" : "?"));
            else if (e.kind == 'n') out.push_back("noise");
        return out;
    }
};

}  // namespace diphone_test
