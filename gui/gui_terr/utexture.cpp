#include "utexture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "configfile.h"
#include "configmanager.h"
#include "glfontlayout.h"
#include "hkutils.h"
#include "readfile.h"

const char* const GLTextureFiles[GLTextureCount] = {
    "Data//font6.tga",    "Data//font_t.tga",   "Data//font_r.tga",    "Data//font_w.tga",
    "Data/ems_bud1.tga",  "Data/ems_bud2.tga",  "Data/ems_bud3.tga",   "Data/ems_bud4.tga",
    "Data/rucickaV.tga",  "Data/ems_d_male.tga", "Data/ems_main1.tga", "Data/ems_male.tga",
    "Data/motorv2.tga",   "Data/motorv4.tga",   "Data/motorv6.tga",
};
TGLTexture GLTextures[GLTextureCount];
namespace {
bool SceneReleased[GLTextureCount];  // loaded once, given back until the next rebuild
}

namespace {

constexpr bool SameText(const char* a, const char* b) { return *a == *b && (!*a || SameText(a + 1, b + 1)); }
static_assert(SameText(pic::GlFontCodePage[GLFontCentral], "CP1250") &&
                  SameText(pic::GlFontCodePage[GLFontCyrillic], "CP1251") &&
                  SameText(pic::GlFontCodePage[GLFontWestern], "CP1252"),
              "the fonts' names say their code pages");

constexpr uint8_t FontSpacing[GLFontCount] = {4, 2, 2, 2};
constexpr uint8_t FontDigitAdvance[GLFontCount] = {12, 13, 13, 13};

TGLFont MakeFont(int f) {
    TGLFont font = {};
    font.file = GLTextureFiles[TexFont6 + f];
    font.charset = pic::GlFontCharset[f];
    memcpy(font.widths, pic::GlFontWidths[f], sizeof font.widths);
    font.spacing = FontSpacing[f];
    font.digitAdvance = FontDigitAdvance[f];
    font.texture = &GLTextures[TexFont6 + f];
    return font;
}

void NoLoadTexture(const char* file, const char* func, int line) {
    TTraceOrigin origin = {"Error: ", "uTexture", func, line};
    TraceLog(&origin, "Can not load texture %s", file);
}

// Glyph index of c in the font, -1 when the font lacks it.
int GlyphOf(int font, unsigned char c) {
    if (c == 0) return -1;
    const char* set = GLFonts[font].charset;
    for (int j = 0; j < 128 && set[j]; ++j)
        if (static_cast<unsigned char>(set[j]) == c) return j;
    return -1;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Where a character comes from: font and glyph; false when it is skipped.
bool Resolve(int font, unsigned char c, int* outFont, int* glyph) {
    if (font < 0 || font >= GLFontCount) font = GLFontDigits;
    if (IsDigit(c)) font = GLFontDigits;
    int j = GlyphOf(font, c);
    if (j < 0 && (font == GLFontCyrillic || font == GLFontWestern)) {
        font = GLFontDigits;
        j = GlyphOf(font, c);
    }
    if (j < 0) return false;
    *outFont = font;
    *glyph = j;
    return true;
}

int Advance(int font, int glyph, unsigned char c) {
    return IsDigit(c) ? GLFonts[GLFontDigits].digitAdvance : GLFonts[font].widths[glyph];
}

}  // namespace

TGLFont GLFonts[GLFontCount] = {MakeFont(0), MakeFont(1), MakeFont(2), MakeFont(3)};
uint32_t GLFontListBase = 0;

int LoadGLTexture(TGLTexture* texture, const char* file, int filter) {
    if (!texture || !file) return 0;
    UniqueFile f(OpenStreamForReading(file));
    if (!f) {
        texture->name = 0;
        NoLoadTexture(file, __func__, __LINE__);
        return 0;
    }
    return LoadGLTexture(texture, f.get(), file, filter);
}

int LoadGLTexture(TGLTexture* texture, FILE* f, const char* file, int filter) {
    if (!texture || !f) return 0;
    if (!file) file = "";
    texture->name = 0;
    texture->data = nullptr;
    static const uint8_t head[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    uint8_t h[18];
    if (fread(h, 1, sizeof h, f) != sizeof h || memcmp(h, head, sizeof head) != 0) {
        NoLoadTexture(file, "LoadGLTexture", __LINE__);
        return 0;
    }
    const int32_t width = h[12] | h[13] << 8, height = h[14] | h[15] << 8, bpp = h[16];
    if (width == 0 || height == 0 || (bpp != 24 && bpp != 32)) {
        NoLoadTexture(file, "LoadGLTexture", __LINE__);
        return 0;
    }
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(bpp / 8);
    // The size fields can claim far more than the file holds: check before allocating.
    const long at = ftell(f);
    if (at < 0 || fseek(f, 0, SEEK_END) != 0) {
        NoLoadTexture(file, "LoadGLTexture", __LINE__);
        return 0;
    }
    const long end = ftell(f);
    if (end < at || static_cast<size_t>(end - at) < bytes || fseek(f, at, SEEK_SET) != 0) {
        NoLoadTexture(file, "LoadGLTexture", __LINE__);
        return 0;
    }
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[bytes]);
    if (fread(pixels.get(), 1, bytes, f) != bytes) {
        NoLoadTexture(file, "LoadGLTexture", __LINE__);
        return 0;
    }
    const size_t step = static_cast<size_t>(bpp / 8);
    for (size_t i = 0; i + 2 < bytes; i += step) {
        const uint8_t t = pixels[i];
        pixels[i] = pixels[i + 2];
        pixels[i + 2] = t;
    }
    texture->data = pixels.get();
    texture->bpp = bpp;
    texture->width = width;
    texture->height = height;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // 24-bit rows are not padded
    const GLenum form = bpp == 24 ? GL_RGB : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(form), width, height, 0, form, GL_UNSIGNED_BYTE,
                 pixels.get());
    texture->data = nullptr;
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        NoLoadTexture(file, "LoadGLTexture", __LINE__);
        return 0;
    }
    texture->name = name;
    return 1;
}

namespace {

bool ListsReleased = false;  // built once, given back until the next rebuild

void BuildFontLists() {
    GLFontListBase = glGenLists(GLFontCount * 128);
    if (GLFontListBase == 0) return;
    for (int f = 0; f < GLFontCount; ++f) {
        for (int j = 0; j < 128; ++j) {
            const float s = static_cast<float>(j % 16) / 16.0f;
            const float row = static_cast<float>(j / 16) * 0.125f;
            const float t0 = 1.0f - row - 0.126f, t1 = 1.0f - row;
            const unsigned char c = static_cast<unsigned char>(GLFonts[f].charset[j]);
            const int advance = IsDigit(c) ? GLFonts[f].digitAdvance : GLFonts[f].widths[j];
            glNewList(GLFontListBase + static_cast<GLuint>(f * 128 + j), GL_COMPILE);
            glBegin(GL_TRIANGLE_STRIP);
            glTexCoord2f(s, t0);
            glVertex2i(0, -32);
            glTexCoord2f(s + 1.0f / 16.0f, t0);
            glVertex2i(32, -32);
            glTexCoord2f(s, t1);
            glVertex2i(0, 0);
            glTexCoord2f(s + 1.0f / 16.0f, t1);
            glVertex2i(32, 0);
            glEnd();
            glTranslatef(static_cast<float>(GLFonts[f].spacing + advance), 0.0f, 0.0f);
            glEndList();
        }
    }
}

}  // namespace

void LoadGLTextures() {
    for (int i = 0; i < GLTextureCount; ++i) LoadGLTexture(&GLTextures[i], GLTextureFiles[i], GL_LINEAR);
    BuildFontLists();
    for (int f = 0; f < GLFontCount; ++f) GLFonts[f].referenceWidth = GLTextWidth("0123456789", 10, f);
}

void FreeGLTextures() {
    if (GLFontListBase) glDeleteLists(GLFontListBase, GLFontCount * 128);
    GLFontListBase = 0;
    for (TGLTexture& t : GLTextures) t = TGLTexture{};
    for (bool& r : SceneReleased) r = false;
    ListsReleased = false;
}

void ReleaseSceneTextures() {
    for (int i = 0; i < GLTextureCount; ++i) {
        TGLTexture& t = GLTextures[i];
        if (i == TexNeedle || t.name == 0) continue;
        const GLuint name = t.name;
        glDeleteTextures(1, &name);
        t.name = 0;
        SceneReleased[i] = true;
    }
    // The font lists write text, which only the backgrounds have.
    if (GLFontListBase) {
        glDeleteLists(GLFontListBase, GLFontCount * 128);
        GLFontListBase = 0;
        ListsReleased = true;
    }
}

void TakeSceneTextures() {
    for (int i = 0; i < GLTextureCount; ++i) {
        if (!SceneReleased[i]) continue;
        SceneReleased[i] = false;
        LoadGLTexture(&GLTextures[i], GLTextureFiles[i], GL_LINEAR);
    }
    if (ListsReleased) {
        ListsReleased = false;
        BuildFontLists();
    }
}

// A byte means its letter in the catalogue's code page only: Italian "\xE8" is e grave,
// which the Windows-1250 font draws as c caron. The English texts are Windows-1252 too.
int GLLanguageFont() {
    if (LanguageId == LanguageRussian) return GLFontCyrillic;
    return LanguageId == LanguageCzech ? GLFontCentral : GLFontWestern;
}

int GLTextWidth(const char* text, int size, int font) {
    if (!text) return 0;
    int64_t total = 0;
    int drawn = 0;
    for (const char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        int f, j;
        if (!Resolve(font, c, &f, &j)) continue;
        if (drawn++) total += GLFonts[f].spacing;  // as the glyph lists advance
        total += Advance(f, j, c);
    }
    const int64_t width = total * size / 10;
    return static_cast<int>(std::min<int64_t>(std::max<int64_t>(width, INT32_MIN), INT32_MAX));
}

void (*GLTextTrace)(int x, int y, int w, int h, const char* text) = nullptr;

namespace {

// The text's cell through the current matrices into view pixels.
void TraceText(int x, int y, const char* text, int size, int font) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double w = GLTextWidth(text, size, font), h = 32.0 * size / 10.0;
    GLdouble ax, ay, az, bx, by, bz;
    if (!gluProject(x, y - h, 0, model, projection, viewport, &ax, &ay, &az) ||
        !gluProject(x + w, y, 0, model, projection, viewport, &bx, &by, &bz))
        return;
    const int x0 = static_cast<int>(std::lround(std::min(ax, bx))), y0 = static_cast<int>(std::lround(std::min(ay, by)));
    GLTextTrace(x0, y0, static_cast<int>(std::lround(std::fabs(bx - ax))), static_cast<int>(std::lround(std::fabs(by - ay))),
                text);
}

}  // namespace

void GLDrawText(int x, int y, const char* text, int size, int font) {
    if (!text || GLFontListBase == 0) return;
    if (GLTextTrace) TraceText(x, y, text, size, font);
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    const float scale = static_cast<float>(size) / 10.0f;
    glScalef(scale, scale, 1.0f);
    for (const char* p = text; *p; ++p) {
        int f, j;
        if (!Resolve(font, static_cast<unsigned char>(*p), &f, &j)) continue;
        const TGLTexture* t = GLFonts[f].texture;
        if (t->name == 0) continue;
        glBindTexture(GL_TEXTURE_2D, t->name);
        glCallList(GLFontListBase + static_cast<GLuint>(f * 128 + j));
    }
    glPopMatrix();
}

void GLTextureQuad(const TGLTexture* texture, int sx, int sw, int sy, int sh, int x, int y, int w, int h) {
    if (!texture || texture->name == 0 || texture->width <= 0 || texture->height <= 0) return;
    float s0 = 0, s1 = 1, t0 = 0, t1 = 1;
    if (sw != 0 && sh != 0) {
        const float tw = static_cast<float>(texture->width), th = static_cast<float>(texture->height);
        s0 = static_cast<float>(sx) / tw;
        s1 = static_cast<float>(sx + sw) / tw;
        t0 = static_cast<float>(sy) / th;
        t1 = static_cast<float>(sy + sh) / th;
    }
    glBindTexture(GL_TEXTURE_2D, texture->name);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(s0, t0);
    glVertex2i(x, y);
    glTexCoord2f(s1, t0);
    glVertex2i(x + w, y);
    glTexCoord2f(s0, t1);
    glVertex2i(x, y + h);
    glTexCoord2f(s1, t1);
    glVertex2i(x + w, y + h);
    glEnd();
}

void GLTextureCentred(const TGLTexture* texture, int cx, int cy) {
    if (!texture) return;
    GLTextureQuad(texture, 0, 0, 0, 0, cx - texture->width / 2, cy - texture->height / 2, texture->width,
                  texture->height);
}
