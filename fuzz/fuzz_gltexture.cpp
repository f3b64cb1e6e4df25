// GL texture loader: any bytes load as a texture of the size the header
// claims, or are refused with a report; nothing is read beyond the input and
// nothing large is allocated for a short input.
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "bytes_file.h"
#include "gl.h"
#include "gui_terr/utexture.h"
#include "hkutils.h"

namespace {

void Quiet(const char*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<platform::GLContext> context = [] {
        PrintHook = Quiet;
        auto c = platform::CreateOSMesaContext(16, 16, nullptr);
        if (c) c->MakeCurrent();
        return c;
    }();
    if (!context) return 0;
    FILE* f = FuzzBytesFile(data, size);
    if (!f) return 0;
    TGLTexture t = {};
    const int loaded = LoadGLTexture(&t, f, "fuzz.tga", GL_LINEAR);
    std::fclose(f);
    if (loaded) {
        const size_t need = size_t(t.width) * size_t(t.height) * size_t(t.bpp / 8) + 18;
        if (t.name == 0 || need > size) __builtin_trap();
        GLuint name = t.name;
        glDeleteTextures(1, &name);
    }
    return 0;
}
