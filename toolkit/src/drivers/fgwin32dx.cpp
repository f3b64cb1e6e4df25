// The display-window driver: the window "Velvix" of class "myExe" and its frame buffer from
// the display layer (loaded by name as "DDRAW.DLL"), changed rectangles presented, the
// flip chain of full-screen page flipping, and the key translation.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>

#include "display.h"
#include "fgdriver.h"
#include "fgraster.h"

namespace {

// The display layer's entry that creates the window and its frame buffer.
typedef int (*FGDirectDrawCreate)(const char* caption, const char* class_name, int32_t width,
                                  int32_t height, std::unique_ptr<TDisplay>* out,
                                  int32_t backend);

const FGLibraryExport DisplayExports[] = {
    {"DirectDrawCreate", reinterpret_cast<FGLibraryEntry>(&DisplayOpen)},
};

struct FGLibraryImage {
    const char* file;
    const FGLibraryExport* exports;
    int count;
};

// The libraries that can be loaded by name.
const FGLibraryImage Libraries[] = {
    {"DDRAW.DLL", DisplayExports, static_cast<int>(sizeof DisplayExports / sizeof DisplayExports[0])},
};

bool same_name(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// DirectDraw result codes standing for the display layer's failures.
uint32_t dd_code(int display_rc) {
    switch (display_rc) {
        case DISPLAY_ERR_NO_SERVER: return 0x88760233;   // no DirectDraw hardware
        case DISPLAY_ERR_ARGS: return 0x80070057;        // invalid parameters
        case DISPLAY_ERR_VISUAL: return 0x88760091;      // invalid pixel format
        case DISPLAY_ERR_WINDOW: return 0x8007000E;      // out of memory
        default: return 0x80004005;                      // undefined error
    }
}

// Windows virtual keys of the keys without a character.
int virtual_key(int32_t key) {
    switch (key) {
        case DisplayKeyLeft: return 0x25;
        case DisplayKeyUp: return 0x26;
        case DisplayKeyRight: return 0x27;
        case DisplayKeyDown: return 0x28;
        case DisplayKeyPageUp: return 0x21;
        case DisplayKeyPageDown: return 0x22;
        case DisplayKeyEnd: return 0x23;
        case DisplayKeyHome: return 0x24;
        case DisplayKeyInsert: return 0x2D;
        case DisplayKeyDelete: return 0x2E;
        default:
            if (key >= DisplayKeyF1 && key <= DisplayKeyF12) return 0x70 + (key - DisplayKeyF1);
            return 0;
    }
}

// The key code of one display event; 0 gives no event.
int translate_event(const TDisplayEvent& ev) {
    const bool alt = (ev.modifiers & DisplayModAlt) != 0;
    switch (ev.type) {
        case DisplayEventQuit:
            return FG_KEY_QUIT;
        case DisplayEventChar:
            if (ev.code < 1 || ev.code > 255) return 0;
            return alt ? ev.code + FG_KEY_ALT : ev.code;
        case DisplayEventKey: {
            const int vk = virtual_key(ev.code);
            if (!vk) return 0;
            if (alt) {
                // Alt with a key is a system key: only Alt+F4 means something (close).
                return ev.code == DisplayKeyF1 + 3 ? FG_KEY_QUIT : 0;
            }
            if (ev.code == DisplayKeyF1 + 9) return 0;   // F10 is a system key as well
            return ev.code >= DisplayKeyF1 ? vk + FG_KEY_FUNCTION : vk + FG_KEY_EXTENDED;
        }
        default:
            return 0;
    }
}

// The cursor is drawn by the system: the callback only answers whether it is hidden.
int system_cursor(int, int, int) { return 0; }

// A mode change or shutdown can leave no window: what the driver cannot go on without.
[[noreturn]] void screen_failure(const char* call, uint32_t code, const char* message) {
    fg_dd_error(call, code);
    std::fputs(message, stderr);
    std::fflush(stdout);
    std::exit(FG_EXIT_SCREEN_FAILURE);
}

constexpr uint32_t DDErrNotFlippable = 0x88760246;

}  // namespace

// ---------------------------------------------------------------- FGDynamicLibrary

FGDynamicLibrary::FGDynamicLibrary(const char* file) {
    for (const FGLibraryImage& lib : Libraries)
        if (file && same_name(lib.file, file)) {
            exports = lib.exports;
            count = lib.count;
            return;
        }
    std::fprintf(stderr, ", cant't link %s\n", file ? file : "");
}

FGDynamicLibrary::~FGDynamicLibrary() = default;

FGLibraryEntry FGDynamicLibrary::symbol(const char* entry_name) const {
    for (int i = 0; i < count && entry_name; ++i)
        if (std::strcmp(exports[i].name, entry_name) == 0) return exports[i].entry;
    std::fprintf(stderr, "Velvix ERROR: no entry \"%s\" in the library\n",
                 entry_name ? entry_name : "");
    return nullptr;
}

// ---------------------------------------------------------------- FGWin32DXDriver

FGWin32DXDriver::FGWin32DXDriver(const char* window_class, int fullscreen)
    : FGDriver("DirectX5"), full_screen(fullscreen ? 1 : 0),
      class_name(window_class ? window_class : "myExe") {}

FGWin32DXDriver::~FGWin32DXDriver() {
    ReleaseSurfaces();
    delete ddraw;
}

int FGWin32DXDriver::available() { return 1; }

int FGWin32DXDriver::link() {
    delete ddraw;
    ddraw = new FGDynamicLibrary("DDRAW.DLL");
    direct_draw_create = ddraw->exports ? ddraw->symbol("DirectDrawCreate") : nullptr;
    if (direct_draw_create) return 1;
    delete ddraw;
    ddraw = nullptr;
    return 0;
}

void FGWin32DXDriver::EnumModes() {
    mode_count = 0;
    for (int mode = 1; mode < FG_MODE_CUSTOM && mode_count < FG_MAX_MODES; ++mode) {
        int w = 0, h = 0;
        if (!fg_mode_size(mode, &w, &h) || w > DisplayMaxSide || h > DisplayMaxSide) continue;
        modes[mode_count] = {static_cast<int16_t>(w), static_cast<int16_t>(h),
                             static_cast<int16_t>(mode_count), 1, 0};
        ++mode_count;
    }
}

void FGWin32DXDriver::ReleaseSurfaces() {
    flip_chain[0].reset();
    flip_chain[1].reset();
    direct_draw.reset();
    frame_buffer = nullptr;
    for (FGPixel*& p : pages) p = nullptr;
    page_count = 0;
    DetachScreen();
}

int FGWin32DXDriver::LeaveMode() {
    ReleaseSurfaces();
    return 1;
}

int FGWin32DXDriver::SetMode(int w, int h) {
    wanted_width = w;
    wanted_height = h;
    delete saved_screen;
    saved_screen = nullptr;
    if (direct_draw && width > 0 && height > 0) {
        // What is on display (a flipped page included), not the page being drawn.
        const TDisplay& old = *direct_draw;
        saved_screen = new FGDrawBuffer(width, height, FG_TYPE_BITMAP, 0);
        for (int y = 0; y < height; ++y)
            std::memcpy(saved_screen->pixels + static_cast<int64_t>(y) * width,
                        old.pixels + static_cast<int64_t>(y) * old.pitch,
                        static_cast<size_t>(width) * sizeof(FGPixel));
    }
    int fw = w, fh = h;
    mode_index = FindMode(&fw, &fh);
    // The old window stays when the new size cannot be had at all.
    if (mode_index < 0 || w < 1 || h < 1 || w > DisplayMaxSide || h > DisplayMaxSide ||
        !direct_draw_create) {
        delete saved_screen;
        saved_screen = nullptr;
        return 0;
    }
    ReleaseSurfaces();

    const auto create = reinterpret_cast<FGDirectDrawCreate>(direct_draw_create);
    const int rc = create("Velvix", class_name, w, h, &direct_draw, DisplayBackendAuto);
    if (rc != DISPLAY_OK || !direct_draw)
        screen_failure("DirectDrawCreate", dd_code(rc), "Failed to create the main window\n");
    TDisplay& d = *direct_draw;
    if (!d.pixels || d.width != w || d.height != h || d.pitch < w) {
        direct_draw.reset();
        screen_failure("DirectDrawSurface3::Lock", 0x887601C2,
                       "can't lock framebuffer - exiting\n");
    }
    frame_buffer = d.pixels;
    virtual_width = d.pitch;
    virtual_height = h;
    video_memory = reinterpret_cast<uintptr_t>(d.pixels);
    video_memory_size = static_cast<uint32_t>(4u * static_cast<uint32_t>(d.pitch) *
                                              static_cast<uint32_t>(h));
    CommonSetup();
    hw_name = "DirectX";
    hw_flags = FG_HW_MOUSE_CURSOR;
    fg_cursor_callback = system_cursor;
    save_screen = 1;
    // The new window's first paint: the whole screen from the frame buffer.
    UpdateRect(0, 0, 0, 0, width, height);
    return 1;
}

void FGWin32DXDriver::UpdateRect(int x, int y, int, int, int w, int h) {
    // While pages flip, the frame buffer is off screen: a flip shows it.
    if (!direct_draw || frame_buffer != direct_draw->pixels) return;
    // The display shows the frame buffer in place: source and target are one rectangle.
    const TDisplayRect r = {x, y, w, h};
    direct_draw->Present(&r, 1);
}

int FGWin32DXDriver::SetupPages(int count) {
    if (!direct_draw) return 0;
    if (count > FG_MAX_PAGES) count = FG_MAX_PAGES;
    const int64_t page_bytes = static_cast<int64_t>(pitch) * height;
    while (count > 1 && page_bytes * (count - 1) > INT32_MAX) --count;
    flip_chain[0].reset();
    flip_chain[1].reset();
    frame_buffer = direct_draw->pixels;
    if (count <= 0) {
        page_count = 0;
        for (FGPixel*& p : pages) p = frame_buffer;
        ResetPages();
        return 0;
    }
    if (full_screen) {
        // Both surfaces start with the picture on display, so flipping shows no change.
        const size_t n = static_cast<size_t>(pitch / 4) * static_cast<size_t>(height);
        for (auto& surface : flip_chain) {
            surface.reset(new (std::nothrow) FGPixel[n]);
            if (!surface) {
                std::printf("lock error\n");
                flip_chain[0].reset();
                flip_chain[1].reset();
                return 0;
            }
            std::memcpy(surface.get(), direct_draw->pixels, n * sizeof(FGPixel));
        }
        front = 0;
    }
    for (int i = 0; i < FG_MAX_PAGES; ++i) {
        // The back surface of the moment; a window has only the one.
        pages[i] = full_screen ? flip_chain[1 - front].get() : frame_buffer;
        if (full_screen) front = 1 - front;
        if (i + 1 == count) break;
    }
    for (int i = count; i < FG_MAX_PAGES; ++i) pages[i] = pages[0];
    page_count = count;
    ResetPages();
    return count;
}

int FGWin32DXDriver::ShowPage(int) {
    if (!direct_draw || !flip_chain[0]) {
        fg_dd_error("DirectDrawSurface::Flip", DDErrNotFlippable);
        return 0;
    }
    front = 1 - front;
    const size_t n = static_cast<size_t>(pitch / 4) * static_cast<size_t>(height);
    std::memcpy(direct_draw->pixels, flip_chain[front].get(), n * sizeof(FGPixel));
    const TDisplayRect all = {0, 0, width, height};
    direct_draw->Present(&all, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

int FGWin32DXDriver::WaitInput(int ms) {
    if (!direct_draw) return FGDriver::WaitInput(ms);
    return direct_draw->Wait(ms) == 1 ? 1 : 0;
}

int FGWin32DXDriver::GetInputEvent(int* type, int* key, int*, int*, int*) {
    // Events that give no key are taken too, a bounded number per call.
    for (int i = 0; i < 64 && direct_draw; ++i) {
        TDisplayEvent ev;
        if (direct_draw->Poll(&ev) != 1) return 0;
        const int code = translate_event(ev);
        if (!code) continue;
        if (type) *type = 1;
        if (key) *key = code;
        return 1;
    }
    return 0;
}
