// The window's font: fontconfig lookup, fitting the face to the cell and
// rendering runs of Latin-1 text with SDL_ttf.
#include "platform/sdl/sdl_font.h"

#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <vector>

#include "util/latin1.h"

namespace {
constexpr const char* FONT_FALLBACK_FACE = "DejaVu Sans Mono";
constexpr const char* FONT_FALLBACK_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr int FONT_MAX_PPEM = 1024;
// FreeType's pixels per em equal the DPI at 72 points, so the two DPI values
// set the horizontal and vertical scale independently.
constexpr int FONT_POINTS = 72;

struct FontState {
    TTF_Font* font = nullptr;
    bool ttf_started = false;
    std::string file;
    bool face_found = false;
    bool fits_cells = false;
    SdlFontMetrics metrics;
} g_font;

struct FontFile {
    std::string path;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
};

// Family names compare as fontconfig does: ignoring case and blanks.
bool same_family(const char* a, const char* b) {
    for (;;) {
        while (*a == ' ') ++a;
        while (*b == ' ') ++b;
        if (!*a || !*b) return !*a && !*b;
        char x = *a >= 'A' && *a <= 'Z' ? *a + 32 : *a, y = *b >= 'A' && *b <= 'Z' ? *b + 32 : *b;
        if (x != y) return false;
        ++a;
        ++b;
    }
}

bool match_family(FcPattern* match, const std::string& family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (same_family(reinterpret_cast<const char*>(name), family.c_str())) return true;
    return false;
}

// Finds the file of `family` (UTF-8) at a weight; with `exact` the match must
// carry that family name, since fontconfig always offers some substitute.
bool find_file(const std::string& family, int weight, bool exact, FontFile& out) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    int fc_weight = weight <= 0 ? FC_WEIGHT_REGULAR : FcWeightFromOpenType(weight > 1000 ? 1000 : weight);
    FcPatternAddInteger(pattern, FC_WEIGHT, fc_weight);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    bool ok = false;
    FcChar8* file = nullptr;
    if ((!exact || match_family(match, family)) && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        out.path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &out.index) != FcResultMatch) out.index = 0;
        if (FcPatternGetInteger(match, FC_WEIGHT, 0, &out.weight) != FcResultMatch) out.weight = FC_WEIGHT_REGULAR;
        ok = true;
    }
    FcPatternDestroy(match);
    return ok;
}

bool find_font(const std::string& face, int weight, FontFile& out, bool& face_found) {
    face_found = !face.empty() && find_file(utf8(face), weight, true, out);
    if (face_found) return true;
    if (find_file(FONT_FALLBACK_FACE, weight, true, out)) return true;
    if (find_file("monospace", weight, false, out)) return true;
    if (SDL_RWops* rw = SDL_RWFromFile(FONT_FALLBACK_FILE, "rb")) {
        SDL_RWclose(rw);
        out = FontFile{FONT_FALLBACK_FILE, 0, FC_WEIGHT_REGULAR};
        return true;
    }
    return false;
}

int advance_of_x(TTF_Font* font) {
    int minx, maxx, miny, maxy, advance = 0;
    if (TTF_GlyphMetrics32(font, 'x', &minx, &maxx, &miny, &maxy, &advance) != 0) return 0;
    return advance;
}

// Largest vertical scale whose line fits in `height` pixels.
int fit_height(TTF_Font* font, int height) {
    int lo = 1, hi = FONT_MAX_PPEM, best = 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        if (TTF_SetFontSizeDPI(font, FONT_POINTS, mid, mid) == 0 && TTF_FontHeight(font) <= height) {
            best = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return best;
}

// Horizontal scale whose character advance is closest to `width` (the
// smallest such scale when several give it exactly).
int fit_width(TTF_Font* font, int vdpi, int width, int& advance) {
    int lo = 1, hi = FONT_MAX_PPEM, best = FONT_MAX_PPEM;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        TTF_SetFontSizeDPI(font, FONT_POINTS, mid, vdpi);
        if (advance_of_x(font) >= width) {
            best = mid;
            hi = mid - 1;
        } else {
            lo = mid + 1;
        }
    }
    TTF_SetFontSizeDPI(font, FONT_POINTS, best, vdpi);
    advance = advance_of_x(font);
    if (advance != width && best > 1) {
        TTF_SetFontSizeDPI(font, FONT_POINTS, best - 1, vdpi);
        int smaller = advance_of_x(font);
        if (width - smaller < advance - width) {
            advance = smaller;
            return best - 1;
        }
        TTF_SetFontSizeDPI(font, FONT_POINTS, best, vdpi);
    }
    return best;
}

bool start_ttf() {
    if (!g_font.ttf_started) {
        if (TTF_Init() != 0) return false;
        g_font.ttf_started = true;
    }
    return true;
}
}  // namespace

bool sdl_font_available() {
    FontFile file;
    bool face_found = false;
    return find_font(FONT_FALLBACK_FACE, 400, file, face_found);
}

bool sdl_font_open(const std::string& face, int weight, int cell_w, int cell_h) {
    sdl_font_close();
    if (!start_ttf()) return false;
    if (cell_h < 1) cell_h = 1;
    FontFile file;
    bool face_found = false;
    if (!find_font(face, weight, file, face_found)) return false;
    TTF_Font* font = TTF_OpenFontIndexDPI(file.path.c_str(), FONT_POINTS, file.index, cell_h, cell_h);
    if (!font) return false;
    TTF_SetFontKerning(font, 0);
    if (weight >= 600 && file.weight < FC_WEIGHT_DEMIBOLD) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    int vdpi = fit_height(font, cell_h);
    int advance = 0;
    if (cell_w > 0) {
        fit_width(font, vdpi, cell_w, advance);
    } else {
        TTF_SetFontSizeDPI(font, FONT_POINTS, vdpi, vdpi);
        advance = advance_of_x(font);
        cell_w = advance > 0 ? advance : (cell_h + 1) / 2;
    }
    g_font.font = font;
    g_font.file = file.path;
    g_font.face_found = face_found;
    g_font.fits_cells = TTF_FontFaceIsFixedWidth(font) && advance == cell_w;
    g_font.metrics.cell_w = cell_w;
    g_font.metrics.cell_h = cell_h;
    int ascent = TTF_FontAscent(font);
    g_font.metrics.ascent = ascent < 0 ? 0 : (ascent >= cell_h ? cell_h - 1 : ascent);
    return true;
}

void sdl_font_close() {
    if (g_font.font) TTF_CloseFont(g_font.font);
    g_font.font = nullptr;
    g_font.file.clear();
    g_font.face_found = false;
    g_font.fits_cells = false;
    g_font.metrics = SdlFontMetrics{};
}

bool sdl_font_ready() { return g_font.font != nullptr; }
SdlFontMetrics sdl_font_metrics() { return g_font.metrics; }
std::string sdl_font_file() { return g_font.file; }
bool sdl_font_face_found() { return g_font.face_found; }
bool sdl_font_fits_cells() { return g_font.fits_cells; }

SDL_Surface* sdl_font_render(const unsigned char* chars, int count, SDL_Color fg, SDL_Color bg) {
    if (!g_font.font || count <= 0) return nullptr;
    if (count > SDL_FONT_MAX_RUN) count = SDL_FONT_MAX_RUN;
    Uint16 text[SDL_FONT_MAX_RUN + 1];
    for (int i = 0; i < count; ++i) {
        unsigned char c = chars[i];
        text[i] = static_cast<Uint16>(c < 32 || c == 127 ? ' ' : sdl_codepage_char(c));
    }
    text[count] = 0;
    return TTF_RenderUNICODE_Shaded(g_font.font, text, fg, bg);
}

Uint32 sdl_codepage_char(unsigned char byte) {
    unsigned cp = codepage_code_point(byte);
    return byte != 0 && cp == 0 ? '?' : cp;
}

int sdl_codepage_byte(Uint32 code_point) { return codepage_byte(code_point); }
