#include "gl.h"

#include <GL/osmesa.h>
#include <sys/mman.h>

#include <cstdlib>

namespace platform {

namespace {

// The context's own buffer is drawn into only by the engine dials' needles; on a
// run that never shows them its pages are never touched, so they are mapped
// rather than allocated and filled: untouched, they cost no memory.
class PixelPages {
public:
    explicit PixelPages(size_t words) : bytes_(words * sizeof(uint32_t)) {
        void* p = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        data_ = p == MAP_FAILED ? nullptr : static_cast<uint32_t*>(p);
    }
    ~PixelPages() {
        if (data_) munmap(data_, bytes_);
    }
    PixelPages(const PixelPages&) = delete;
    PixelPages& operator=(const PixelPages&) = delete;
    uint32_t* data() const { return data_; }

private:
    size_t bytes_;
    uint32_t* data_;
};

class OSMesaGLContext final : public GLContext {
public:
    OSMesaGLContext(OSMesaContext context, int width, int height)
        : context_(context), width_(width), height_(height),
          pixels_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}
    ~OSMesaGLContext() override {
        if (OSMesaGetCurrentContext() == context_) OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
        OSMesaDestroyContext(context_);
    }
    OSMesaGLContext(const OSMesaGLContext&) = delete;
    OSMesaGLContext& operator=(const OSMesaGLContext&) = delete;

    bool MakeCurrent() override { return MakeCurrentOn(pixels_.data()); }
    bool MakeCurrentOn(uint32_t* target) override {
        // Still bound from the last call: binding again would only flush and copy.
        if (OSMesaGetCurrentContext() == context_ && bound_ == target) return true;
        bound_ = nullptr;
        if (!target || OSMesaMakeCurrent(context_, target, GL_UNSIGNED_BYTE, width_, height_) != GL_TRUE) return false;
        bound_ = target;
        return true;
    }
    // The binding stays until another context is bound or this one goes: every
    // release and rebinding flushes the whole picture into the buffer again.
    void Release() override {}
    const uint32_t* Pixels() const override { return pixels_.data(); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }

private:
    OSMesaContext context_;
    int width_, height_;
    PixelPages pixels_;  // BGRA bytes: 0xAARRGGBB words on little-endian, zero at first
    uint32_t* bound_ = nullptr;     // the buffer the context draws into
};

void SetError(std::string* error, const char* text) {
    if (error) *error = text;
}

}  // namespace

std::unique_ptr<GLContext> CreateOSMesaContext(int width, int height, std::string* error) {
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        SetError(error, "bad surface size");
        return nullptr;
    }
    // An 800 x 480 picture is drawn faster on the calling thread than handed
    // out to Mesa's worker threads, which mostly wake and wait for each other.
    setenv("LP_NUM_THREADS", "0", 0);
    // Mesa refuses a 24-bit BGR buffer; BGRA reads as the toolkit's own pixel words.
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_BGRA, 32, 8, 0, nullptr);
    if (!context) {
        SetError(error, "OSMesaCreateContextExt failed");
        return nullptr;
    }
    auto result = std::make_unique<OSMesaGLContext>(context, width, height);
    if (!result->MakeCurrent()) {
        SetError(error, "OSMesaMakeCurrent failed");
        return nullptr;
    }
    OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    return result;
}

GLContextFactory CreateGLContext = CreateOSMesaContext;

}  // namespace platform

#if defined(__SANITIZE_ADDRESS__)
#define HK_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HK_LEAK_CHECKED 1
#endif
#endif
#ifdef HK_LEAK_CHECKED
// Mesa's off-screen driver keeps a few records per context that it never
// frees (about 150 bytes each); they are its own, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }
#endif
