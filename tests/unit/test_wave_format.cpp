// WAV files and images: identifiers in any case, chunks skipped, bounds kept.
#include <gtest/gtest.h>

#include "util/wave_format.h"
#include "wave_test_support.h"

namespace {
struct MemorySource {
    const std::vector<uint8_t>* bytes;
    size_t pos = 0;
};
size_t mem_read(void* c, uint8_t* into, size_t n) {
    auto* m = static_cast<MemorySource*>(c);
    size_t left = m->pos < m->bytes->size() ? m->bytes->size() - m->pos : 0;
    if (n > left) n = left;
    std::memcpy(into, m->bytes->data() + m->pos, n);
    m->pos += n;
    return n;
}
bool mem_skip(void* c, uint32_t n) {
    static_cast<MemorySource*>(c)->pos += n;
    return true;
}

bool parse_file(const std::vector<uint8_t>& bytes, WaveFileHeader& h, size_t* data_offset = nullptr,
                size_t capacity = 65534) {
    MemorySource m{&bytes};
    std::vector<uint8_t> buffer(capacity);
    bool ok = wave_parse_file_header({&m, mem_read, mem_skip}, buffer.data(), capacity, h);
    if (data_offset) *data_offset = m.pos;
    return ok;
}
}  // namespace

TEST(WaveParse, IdentifiersInAnyCaseAndChunksBeforeTheData) {
    std::vector<uint8_t> list(26, 'x');  // odd-looking but even-sized LIST body
    auto wav = make_wav(22050, 2, 16, {{"LIST", list}, {"DATA", ramp(40)}}, "riff", "FMT ");
    WaveFileHeader h;
    size_t offset = 0;
    ASSERT_TRUE(parse_file(wav, h, &offset));
    EXPECT_EQ(h.format.rate, 22050);
    EXPECT_EQ(h.format.channels, 2);
    EXPECT_EQ(h.format.bits, 16);
    EXPECT_EQ(h.data_bytes, 40);
    EXPECT_EQ(offset, wav.size() - 40);

    WaveImageView v;
    ASSERT_TRUE(wave_parse_image(wav.data(), wav.size(), v));
    EXPECT_EQ(v.format.rate, 22050);
    EXPECT_EQ(v.bytes, 40u);
    EXPECT_EQ(v.samples, wav.data() + wav.size() - 40);
}

TEST(WaveParse, HeadersThatAreNotAccepted) {
    WaveFileHeader h;
    WaveImageView v;
    auto good = make_wav(11025, 1, 8, {{"data", ramp(10)}});
    auto not_riff = make_wav(11025, 1, 8, {{"data", ramp(10)}}, "RIFX");
    auto not_fmt = make_wav(11025, 1, 8, {{"data", ramp(10)}}, "RIFF", "fmtx");
    EXPECT_FALSE(parse_file(not_riff, h));
    EXPECT_FALSE(parse_file(not_fmt, h));
    EXPECT_FALSE(wave_parse_image(not_riff.data(), not_riff.size(), v));
    EXPECT_FALSE(wave_parse_image(not_fmt.data(), not_fmt.size(), v));
    // Every truncation of the header is refused, never read past.
    for (size_t cut = 0; cut < 44; cut++) {
        std::vector<uint8_t> part(good.begin(), good.begin() + long(cut));
        EXPECT_FALSE(parse_file(part, h)) << cut;
        EXPECT_FALSE(wave_parse_image(part.data(), part.size(), v)) << cut;
    }
    // A format body too short to hold the bits field.
    auto shortfmt = good;
    shortfmt[16] = 14;
    EXPECT_FALSE(parse_file(shortfmt, h));
    EXPECT_FALSE(wave_parse_image(shortfmt.data(), shortfmt.size(), v));
    // No data chunk at all.
    auto nodata = make_wav(11025, 1, 8, {{"LIST", ramp(8)}});
    EXPECT_FALSE(parse_file(nodata, h));
    EXPECT_FALSE(wave_parse_image(nodata.data(), nodata.size(), v));
}

TEST(WaveParse, ForgedSizesStayInsideTheImage) {
    WaveImageView v;
    // A data chunk claiming more than the image holds is cut at its end.
    auto wav = make_wav(11025, 1, 8, {{"data", ramp(100)}});
    uint32_t huge = 0xFFFFFFF0u;
    std::memcpy(wav.data() + 40, &huge, 4);
    ASSERT_TRUE(wave_parse_image(wav.data(), wav.size(), v));
    EXPECT_EQ(v.bytes, 100u);
    // A skipped chunk that runs past the end ends the search.
    auto skip = make_wav(11025, 1, 8, {{"junk", ramp(4)}, {"data", ramp(10)}});
    std::memcpy(skip.data() + 40, &huge, 4);
    EXPECT_FALSE(wave_parse_image(skip.data(), skip.size(), v));
    // A format chunk larger than the image.
    auto bigfmt = make_wav(11025, 1, 8, {{"data", ramp(10)}});
    std::memcpy(bigfmt.data() + 16, &huge, 4);
    EXPECT_FALSE(wave_parse_image(bigfmt.data(), bigfmt.size(), v));
}

TEST(WaveParse, FileChunksLargerThanTheBufferAreSkipped) {
    auto wav = make_wav(11025, 1, 8, {{"LIST", ramp(70000)}, {"data", ramp(300)}});
    WaveFileHeader h;
    size_t offset = 0;
    ASSERT_TRUE(parse_file(wav, h, &offset));
    EXPECT_EQ(h.data_bytes, 300);
    EXPECT_EQ(offset, wav.size() - 300);
    // A format body larger than the buffer: its first bytes are the format.
    std::vector<uint8_t> body = fmt_body(16000, 1, 16);
    body.resize(100, 0);
    std::vector<uint8_t> v;
    put_id(v, "RIFF");
    put32(v, 0);
    put_id(v, "WAVE");
    put_id(v, "fmt ");
    put32(v, 100);
    v.insert(v.end(), body.begin(), body.end());
    put_id(v, "data");
    put32(v, 2);
    v.push_back(1);
    v.push_back(2);
    ASSERT_TRUE(parse_file(v, h, &offset, 32));
    EXPECT_EQ(h.format.rate, 16000);
    EXPECT_EQ(h.format.bits, 16);
    EXPECT_EQ(offset, v.size() - 2);
}

TEST(WaveParse, FilePiecesNeverEndShorterThan256Bytes) {
    EXPECT_EQ(wave_file_piece(65600), 65278u);
    EXPECT_EQ(wave_file_piece(65600 - 65278), 322u);
    EXPECT_EQ(wave_file_piece(65534), 65534u);
    EXPECT_EQ(wave_file_piece(65535), 65278u);
    EXPECT_EQ(wave_file_piece(65789), 65278u);
    EXPECT_EQ(wave_file_piece(65790), 65534u);
    EXPECT_EQ(wave_file_piece(200000), 65534u);
    EXPECT_EQ(wave_file_piece(12), 12u);
}

TEST(WaveParse, ThousandsOfChunksAndOddSizes) {
    std::vector<WavChunk> chunks;
    for (int i = 0; i < 5000; i++) chunks.push_back({i % 2 ? "junk" : "LiSt", ramp(size_t(i % 3))});
    chunks.push_back({"dAtA", ramp(77)});
    auto wav = make_wav(8000, 1, 8, chunks);
    WaveImageView v;
    ASSERT_TRUE(wave_parse_image(wav.data(), wav.size(), v));
    EXPECT_EQ(v.bytes, 77u);
    EXPECT_EQ(v.samples, wav.data() + wav.size() - 77);
    WaveFileHeader h;
    size_t offset = 0;
    ASSERT_TRUE(parse_file(wav, h, &offset));
    EXPECT_EQ(h.data_bytes, 77);
    EXPECT_EQ(offset, wav.size() - 77);
}

TEST(WaveFormat, HeaderIsCanonicalPcm) {
    uint8_t h[44];
    wave_make_header(h, 1000, 11025, 1, 8);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(h), 4), "RIFF");
    EXPECT_EQ(h[4] | h[5] << 8, 1036);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 8), 8), "WAVEfmt ");
    EXPECT_EQ(h[16], 16);
    EXPECT_EQ(h[20], 1);
    EXPECT_EQ(h[22], 1);
    EXPECT_EQ(h[24] | h[25] << 8, 11025);
    EXPECT_EQ(h[28] | h[29] << 8, 11025);
    EXPECT_EQ(h[32], 1);
    EXPECT_EQ(h[34], 8);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 36), 4), "data");
    EXPECT_EQ(h[40] | h[41] << 8, 1000);
    wave_make_header(h, 0, 16000, 1, 16);
    EXPECT_EQ(h[28] | h[29] << 8 | h[30] << 16, 32000);
}

TEST(WaveFormat, WrittenHeaderParsesBackAndRecordsRoundTrip) {
    std::vector<uint8_t> image(WAVE_HEADER_BYTES + 6, 128);
    wave_make_header(image.data(), 6, 22050, 2, 16);
    EXPECT_EQ(image[32], 4);  // a stereo 16-bit frame
    WaveImageView v;
    ASSERT_TRUE(wave_parse_image(image.data(), image.size(), v));
    EXPECT_EQ(v.format.rate, 22050);
    EXPECT_EQ(v.format.channels, 2);
    EXPECT_EQ(v.format.bits, 16);
    EXPECT_EQ(v.samples, image.data() + WAVE_HEADER_BYTES);
    EXPECT_EQ(v.bytes, 6u);

    uint8_t rec[WAVE_UNIT_RECORD_BYTES];
    wave_unit_record_write(rec, "$AB", 3, 65535, 0x01020304u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(rec + 1), 8), "$AB     ");
    WaveUnitRecord r = wave_unit_record_read(rec);
    EXPECT_EQ(std::string(r.name, r.name_length), "$AB");
    EXPECT_EQ(r.length, 65535);
    EXPECT_EQ(r.offset, 0x01020304u);
    // A name too long for the record is cut, and a forged length byte never
    // reaches past the name field.
    wave_unit_record_write(rec, "ABCDEFGHIJ", 10, 1, 2);
    EXPECT_EQ(rec[0], 8);
    rec[0] = 200;
    r = wave_unit_record_read(rec);
    EXPECT_EQ(std::string(r.name, r.name_length), "ABCDEFGH");
    EXPECT_EQ(r.length, 1);
    EXPECT_EQ(r.offset, 2u);
}
