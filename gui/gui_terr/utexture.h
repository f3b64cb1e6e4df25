// GL textures loaded from uncompressed TGA files under "Data/", the four
// texture fonts all GL text is written with, and textured quads. Every call
// that touches GL expects the GL view's context to be current.
#pragma once

#include <cstdint>
#include <cstdio>

struct TGLTexture {
    uint8_t* data;      // pixels, only while loading
    int32_t bpp;        // 24 or 32
    int32_t width, height;
    uint32_t name;      // GL texture name; 0 = not loaded
};

// The texture table, in loading order.
enum {
    TexFont6, TexFontT, TexFontR, TexFontW,
    TexBud1, TexBud2, TexBud3, TexBud4,
    TexNeedle,
    TexEmsDMale, TexEmsMain1, TexEmsMale,
    TexMotorV2, TexMotorV4, TexMotorV6,
    GLTextureCount
};
extern const char* const GLTextureFiles[GLTextureCount];
extern TGLTexture GLTextures[GLTextureCount];

// 1 loaded, 0 failed (reported as "Can not load texture %s"; the name stays 0).
int LoadGLTexture(TGLTexture* texture, const char* file, int filter);
// The same over a file opened for reading (not closed here); file names it in the report.
int LoadGLTexture(TGLTexture* texture, FILE* f, const char* file, int filter);
// Loads the whole table with linear filtering, then the font display lists.
void LoadGLTextures();
// Forgets the table and deletes the font lists (the textures go with the context).
void FreeGLTextures();
// The engine backgrounds are the only pictures drawn with the table but the needle,
// and the only text: between two rebuilds their textures and the font lists are
// given back to GL and made again when the next rebuild takes them (only the
// textures that loaded before).
void ReleaseSceneTextures();
void TakeSceneTextures();

struct TGLFont {
    const char* file;
    const char* charset;      // characters in glyph order
    uint8_t widths[128];      // glyph advances in the 32-unit cell
    uint8_t spacing;          // letter spacing
    uint8_t digitAdvance;
    int32_t referenceWidth;   // width of "0123456789" at size 10
    uint8_t reserved[7];
    TGLTexture* texture;
};
constexpr int GLFontCount = 4;
// The fonts by code page (glfontlayout.h): font 1 Windows-1250, 2 Windows-1251, 3 Windows-1252.
constexpr int GLFontCentral = 1, GLFontCyrillic = 2, GLFontWestern = 3;
constexpr int GLFontDigits = GLFontCentral;  // digits always come from this font
extern TGLFont GLFonts[GLFontCount];
extern uint32_t GLFontListBase;  // 0 until the 512 lists exist

// Font of the language's catalogue code page: Czech 1, Russian 2, the other languages 3.
int GLLanguageFont();
// Width of the text at size (tenths of the 32-unit cell).
int GLTextWidth(const char* text, int size, int font);
// Text whose cell top is at (x, y), y upwards.
void GLDrawText(int x, int y, const char* text, int size, int font);
// When set, sees every GL text drawn: its cell in the view's pixels (rows from the
// top, as the picture lands in the window) and the text. Null by default.
extern void (*GLTextTrace)(int x, int y, int w, int h, const char* text);

// Source rectangle (sx, sw, sy, sh in texture pixels, rows from the bottom) of
// the texture onto the target rectangle x..x+w by y..y+h; sw or sh 0 = whole.
void GLTextureQuad(const TGLTexture* texture, int sx, int sw, int sy, int sh, int x, int y, int w, int h);
// The whole texture at its own size, centred on (cx, cy).
void GLTextureCentred(const TGLTexture* texture, int cx, int cy);
