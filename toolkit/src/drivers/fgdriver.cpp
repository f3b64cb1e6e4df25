// The driver interface with its do-nothing defaults, the mode table and mode list, the
// screen buffer and fg_set_mode.
#include "fgdriver.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "fgfontmanager.h"
#include "fgraster.h"

FGDriverSettings fg_driver_settings;
FGDriver* fg_driver = nullptr;
void (*fg_root_resize_hook)(int w, int h) = nullptr;
int (*fg_cursor_callback)(int show, int x, int y) = nullptr;

namespace {

struct ModeSize {
    int width, height;
};
// Modes 1..7.
constexpr ModeSize ModeTable[] = {
    {320, 200}, {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}, {848, 480},
};
constexpr int TableModes = static_cast<int>(sizeof ModeTable / sizeof ModeTable[0]);

// The driver whose frame buffer the screen context and FGScreen hold.
FGDriver* screen_owner = nullptr;

void show_on_driver(int x, int y, int w, int h) {
    if (screen_owner) screen_owner->UpdateRect(x, y, x, y, w, h);
}

}  // namespace

bool fg_mode_size(int mode, int* width, int* height) {
    if (mode >= 1 && mode <= TableModes) {
        *width = ModeTable[mode - 1].width;
        *height = ModeTable[mode - 1].height;
        return true;
    }
    if (mode != FG_MODE_CUSTOM) return false;
    const FGDriverSettings& s = fg_driver_settings;
    const bool custom = s.custom_width != 0 && s.custom_height != 0;
    *width = custom ? s.custom_width : 1;
    *height = custom ? s.custom_height : 1;
    return true;
}

// ---------------------------------------------------------------- FGScreen

FGScreen::FGScreen() : FGDrawBuffer(0, 0, FG_TYPE_SCREEN, 0) {
    if (pixels) fg_assert_fail("image==0", "fgdriver", __LINE__);
}

void FGScreen::Attach(FGPixel* frame, int stride, int w, int h) {
    std::lock_guard<FGMutex> guard(state_lock);
    const bool usable = frame && stride >= w && w > 0 && h > 0;
    pixels = usable ? frame : nullptr;
    // Rows are a whole pitch apart; the clip keeps drawing inside the visible width.
    width = usable ? stride : 0;
    height = usable ? h : 0;
    set_clip_rect(0, 0, usable ? w : 0, usable ? h : 0);
    state.ink = 0xFFFFFF;
    state.paper = 0;
    if (FGFontManager::font_count() > 1) state.font = 2;
    state.mode = 0;
}

FGScreen& fg_get_screen() {
    static FGScreen screen;
    return screen;
}

// Made before main, as the toolkit's other static state is.
static const FGScreen& screen_at_start = fg_get_screen();

// ---------------------------------------------------------------- FGDriver defaults

FGDriver::FGDriver(const char* driver_name) : name(driver_name ? driver_name : "") {}

FGDriver::~FGDriver() {
    if (verbose) std::printf("DRIVER %s: unload() called\n", name);
    delete saved_screen;
    DetachScreen();
}

void FGDriver::FollowFrameBuffer() {
    if (screen_owner != this) return;
    fg_get_screen().Attach(frame_buffer, pitch / 4, width, height);
    fg_screen.surface = frame_buffer;
}

void FGDriver::DetachScreen() {
    if (screen_owner != this) return;
    screen_owner = nullptr;
    fg_get_screen().Attach(nullptr, 0, 0, 0);
    fg_screen_attach(nullptr, 0, 0, 0);
    fg_screen.show = nullptr;
}

int FGDriver::FindMode(int* w, int* h) {
    if (mode_count <= 0 || !w || !h) return -1;
    for (int i = 0; i < mode_count; ++i)
        if (modes[i].width == *w && modes[i].height == *h) return i;
    // No exact entry: the smallest one that holds the size, else the largest (index 0).
    int pick = 0;
    for (int i = 0; i < mode_count; ++i)
        if (modes[i].width >= *w && modes[i].height >= *h) pick = i;
    *w = modes[pick].width;
    *h = modes[pick].height;
    return pick;
}

int FGDriver::LeaveMode() { return 1; }

int FGDriver::set_mouse() {
    mouse_set = 1;
    if (verbose) std::printf("DRIVER %s: set_mouse() called\n", name);
    return 1;
}

void FGDriver::reset_mouse() {
    if (verbose) std::printf("DRIVER %s: reset_mouse() called\n", name);
}

int FGDriver::set_keyboard() {
    keyboard_set = 1;
    if (verbose) std::printf("DRIVER %s: set_keyboard() called\n", name);
    return 1;
}

void FGDriver::reset_keyboard() {
    if (verbose) std::printf("DRIVER %s: reset_keyboard() called\n", name);
}

void FGDriver::EnumModes() {}

int FGDriver::available() {
    if (verbose) std::printf("DRIVER %s: available() called\n", name);
    return 0;
}

int FGDriver::link() {
    if (verbose) std::printf("DRIVER %s: link() called\n", name);
    return 0;
}

int FGDriver::GetInputEvent(int*, int*, int*, int*, int*) { return 0; }

int FGDriver::WaitInput(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return 0;
}

int FGDriver::SetMode(int, int) { return 0; }

void FGDriver::change_mouse() {
    if (verbose) std::printf("DRIVER %s: change_mouse() called\n", name);
}

void FGDriver::ShutdownInput() {
    if (mouse_set) reset_mouse();
    mouse_set = 0;
    if (keyboard_set) reset_keyboard();
    keyboard_set = 0;
    LeaveMode();
}

int FGDriver::SetupPages(int) { return page_count; }

void FGDriver::ResetPages() {
    page = 0;
    page_offset = 0;
    if (!pages[0]) return;
    frame_buffer = pages[0];
    FollowFrameBuffer();
}

int FGDriver::ShowPage(int) { return 0; }

int FGDriver::NextPage() {
    static bool told = false;
    if (page_count <= 0) {
        if (!told) std::printf("PageFliping is disabled or unavailable!\n");
        told = true;
        return 0;
    }
    const int shown = ShowPage(page);
    page = (page + 1) % page_count;
    frame_buffer = pages[page];
    page_offset = static_cast<int>(static_cast<int64_t>(page) * pitch * height);
    FollowFrameBuffer();
    return shown;
}

void FGDriver::UpdateRect(int, int, int, int, int, int) {}

// ---------------------------------------------------------------- shared steps

int FGDriver::SortModes() {
    mode_count = std::max(0, std::min(mode_count, FG_MAX_MODES));
    std::sort(modes, modes + mode_count, [](const FGVideoMode& a, const FGVideoMode& b) {
        if (a.width != b.width) return a.width > b.width;
        if (a.height != b.height) return a.height > b.height;
        return a.refresh > b.refresh;
    });
    return mode_count > 0;
}

void FGDriver::CommonSetup() {
    width = wanted_width;
    height = wanted_height;
    pitch = 4 * (virtual_width ? virtual_width : width);
    for (FGPixel*& p : pages) p = frame_buffer;
    page = 0;
    page_count = 0;
    page_offset = 0;
    fg_bytes_per_pixel = bytes_per_pixel;
    screen_owner = this;
    fg_get_screen().Attach(frame_buffer, pitch / 4, width, height);
    fg_screen_attach(frame_buffer, pitch / 4, width, height);
    fg_screen.show = show_on_driver;
    if (!saved_screen) return;
    // The old picture, cut to the smaller of the two sizes.
    if (frame_buffer && saved_screen->pixels) {
        const int w = std::min(width, saved_screen->width);
        const int h = std::min(height, saved_screen->height);
        for (int y = 0; y < h; ++y)
            std::memcpy(frame_buffer + static_cast<int64_t>(y) * (pitch / 4),
                        saved_screen->pixels + static_cast<int64_t>(y) * saved_screen->width,
                        static_cast<size_t>(w) * sizeof(FGPixel));
    }
    delete saved_screen;
    saved_screen = nullptr;
}

void FGDriver::PrintInfo() const {
    std::printf("\tdriver name   : %s\n", name);
    std::printf("\tdescription   : %s\n", description);
    std::printf("\tversion       : %s\n", fg_version());
    std::printf("\tscreen width  : %d, virtual %d, pitch %d\n", width, virtual_width, pitch);
    std::printf("\tscreen height : %d, virtual %d\n", height, virtual_height);
    std::printf("\tbitsPerPixel  : %d\n", 8 * bytes_per_pixel);
    std::printf("\tpage-flipping : POSSIBLE\n");
    const auto hex = [](uintptr_t v) { return static_cast<unsigned long>(v); };
    std::printf("\tvideomemory   : 0x%lx, 0x%lx => 0x%lx\n", hex(video_memory),
                hex(video_memory_size), hex(video_memory + video_memory_size));
    if (io_memory)
        std::printf("\tmemory io     : 0x%lx, 0x%lx => 0x%lx\n", hex(io_memory),
                    hex(memory_spare[0]), hex(io_memory + memory_spare[0]));
    std::printf("\taddressing    : linear\n");
    if (refresh)
        std::printf("\tmonitor freq. : %d HZ\n", refresh);
    else
        std::printf("\tmonitor freq. : default\n");
    std::printf("\taccelerator   : %s\n", hw_accel ? "hardware" : "fg_soft_accel");
    std::printf("\tmouse         : %s\n", mouse_name);
    if (!hw_flags) return;
    std::printf("\t%s hardware found\n", hw_name);
    if (hw_flags & FG_HW_FILL) std::printf("\tFILL_RECTANGLE: replaced with HW\n");
    if (hw_flags & FG_HW_LINE) std::printf("\tDRAW_LINE     : replaced with HW\n");
    if (hw_flags & FG_HW_BLITTER) std::printf("\tBLITTER       : replaced with HW\n");
    if (hw_flags & FG_HW_MOUSE_CURSOR) std::printf("\tMOUSE CURSOR  : replaced with HW\n");
}

// ---------------------------------------------------------------- fg_set_mode

namespace {

// Driver number n of the tried list (6 down to 0); only 0 exists.
FGDriver* make_driver(int n) {
    if (n != 0) return nullptr;
    return new FGWin32DXDriver("myExe", !fg_driver_settings.windowed);
}

bool link_driver(FGDriver* d, int w, int h) {
    d->verbose = fg_driver_settings.verbose;
    d->refresh = fg_driver_settings.refresh;
    if (!d->available() || !d->link()) return false;
    d->EnumModes();
    if (!d->SortModes()) {
        std::fprintf(stderr, "No video modes available for %d BPP\n", 8 * d->bytes_per_pixel);
        return false;
    }
    if (d->verbose) {
        std::printf("\nVideo modes:\n");
        for (int i = 0; i < d->mode_count; ++i)
            std::printf("\tmode \"%dx%d-%d@%d\" available as %s\n", d->modes[i].width,
                        d->modes[i].height, 8 * d->bytes_per_pixel, d->modes[i].refresh,
                        d->modes[i].linear ? "linear" : "banked");
    }
    if (!d->SetMode(w, h)) return false;
    d->set_mouse();
    d->set_keyboard();
    if (d->verbose) d->PrintInfo();
    return true;
}

void shutdown_driver() {
    if (!fg_driver) return;
    FGDriver* d = fg_driver;
    fg_driver = nullptr;
    d->ShutdownInput();
    delete d;
}

}  // namespace

int fg_set_mode(int mode) {
    if (mode == 0) {
        shutdown_driver();
        return 1;
    }
    int w = 0, h = 0;
    if (!fg_mode_size(mode, &w, &h)) return 0;
    if (fg_driver) {
        if (w == fg_driver->width && h == fg_driver->height) return 1;
        const int pages = fg_driver->page_count;
        if (!fg_driver->SetMode(w, h)) return 0;
        fg_driver->change_mouse();
        if (fg_root_resize_hook) fg_root_resize_hook(w, h);
        if (pages > 0) fg_driver->SetupPages(pages);
        return 1;
    }
    static bool exit_registered = false;
    for (int n = 6; n >= 0; --n) {
        FGDriver* d = make_driver(n);
        if (!d) continue;
        if (link_driver(d, w, h)) {
            fg_driver = d;
            if (!exit_registered) std::atexit(shutdown_driver);
            exit_registered = true;
            return 1;
        }
        delete d;
    }
    return 0;
}

// ---------------------------------------------------------------- DirectDraw results

namespace {

struct DDErrorText {
    uint32_t code;
    const char* text;
};

constexpr DDErrorText DDErrors[] = {
    {0x80004001, "Operation not supported"},
    {0x80004002, "Interface not present"},
    {0x80004005, "Undefined error!"},
    {0x8007000E, "Out of memory"},
    {0x80070057, "Invalid parameters"},
    {0x88760037, "Exception encountered"},
    {0x8876005F, "Incompatible primary surface"},
    {0x88760064, "Invalid caps member"},
    {0x88760082, "Invalid object"},
    {0x88760091, "Invalid pixel format"},
    {0x88760096, "Invalid rectangle"},
    {0x887600D4, "No cooperative level set"},
    {0x887600E1, "Not in exclusive access mode"},
    {0x887600E6, "No flip hardware"},
    {0x887600FF, "Object not found"},
    {0x88760140, "Not 8-bit color"},
    {0x8876017C, "Out of video memory"},
    {0x887601AE, "Surface busy"},
    {0x887601C2, "Surface was lost"},
    {0x8876021C, "DirectDraw is still drawing"},
    {0x88760233, "No DirectDraw hardware"},
    {0x88760234, "Primary surface already exists"},
    {0x88760235, "No emulation available"},
    {0x8876023A, "Window handle is subclassed"},
    {0x8876023B, "Window handle already set"},
    {0x8876023C, "No palette attached"},
    {0x8876023D, "No palette hardware"},
    {0x8876023F, "No blit hardware"},
    {0x88760245, "Exclusive mode was already set"},
    {0x88760246, "Surface not flippable"},
    {0x8876024B, "Surface created in different mode"},
    {0x8876024C, "Surface was implicitly created"},
    {0x8876024E, "Unsupported mode"},
    {0x88760250, "Invalid surface type"},
};

}  // namespace

const char* fg_dd_error_text(uint32_t code) {
    for (const DDErrorText& e : DDErrors)
        if (e.code == code) return e.text;
    return nullptr;
}

void fg_dd_error(const char* call, uint32_t code) {
    const char* text = fg_dd_error_text(code);
    if (text)
        std::fprintf(stderr, "%s: %s\n", call, text);
    else
        std::fprintf(stderr, "%s: Unknown DirectDraw error: 0x%x\n", call, code);
}
