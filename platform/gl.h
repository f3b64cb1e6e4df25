// Off-screen OpenGL 1.1 (+ GLU) over a pixel buffer in memory: what the GL
// view renders into. One context with its own 32-bit buffer; pixels read as
// 0x00RRGGBB words once the top (alpha) byte is masked off. Row 0 of the
// buffer is the bottom row, as GL writes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class GLContext {
public:
    virtual ~GLContext() = default;
    // Binds the context to its buffer on this thread; false when that fails.
    virtual bool MakeCurrent() = 0;
    // Binds it to draw into target instead (width x height words, the same
    // layout as Pixels()); the picture drawn stays in the context either way.
    virtual bool MakeCurrentOn(uint32_t* target) = 0;
    // Leaves no context current on this thread.
    virtual void Release() = 0;
    // width x height words, bottom row first; 0xAARRGGBB (alpha byte undefined).
    virtual const uint32_t* Pixels() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// Makes a context over a buffer of width x height with depth and stencil
// buffers; null (and a reason in *error) when no context can be had.
using GLContextFactory = std::unique_ptr<GLContext> (*)(int width, int height, std::string* error);
std::unique_ptr<GLContext> CreateOSMesaContext(int width, int height, std::string* error);

// The factory the GL view uses; tests put in one that fails.
extern GLContextFactory CreateGLContext;

}  // namespace platform
