// The application object: construction (options, configuration file, screen
// mode, root window), tear-down, and the dispatcher of key events.
#include "fgapp.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "fgcontrols.h"
#include "fgdriver.h"
#include "fgraster.h"
#include "fgwindb.h"
#include "tinycfg.h"

FGToolkitState fg_toolkit;

// ---------------------------------------------------------------- options

namespace {

const char* const HelpLines[] = {
    "\n   -resolution N\n",
    "          :force scr. resolution 'N', where 'N' = \n",
    "           1=320x200, 2=640x480, 3=800x600, 4=1024x768, 5=1280x1024\n",
    "           6=1600x1200\n",
    " -svga    :don't use FBDEV driver\n",
    " -nodga   :don't use DGA2 driver\n",
    " -nox11   :don't use X11 driver\n",
    " -sync    :monitor refresh\n",
    " -geometry:set custom resolutions x y\n",
    " -noaccel :don`t use HW accelerations\n",
    " -nofull  :use faster window moving\n",
    " -verbose :verbose output\n",
    " -safe    :safe mode\n",
    " -dac8    :force 8bit DAC/palette\n",
    " -ps2     :force PS/2 mouse driver (LINUX)\n",
    " -mice    :force DEVMOUSE mouse driver (LINUX)\n",
    " -window  :run in windowed mode (WIN32)\n",
};

void print_banner() { std::printf("Velvix toolkit version %s\n", fg_version()); }

void print_help() {
    print_banner();
    std::printf("\t\twith multi-threading\n");
    std::printf("\t\twith image formats BMP GIF PCX TGA\n");
    std::printf(" with %d BPP\n", 32);
    std::printf("\t\twith DirectDraw driver, MMX %s\n", fg_toolkit.mmx ? "present" : "not present");
    for (const char* line : HelpLines) std::fputs(line, stdout);
    std::fflush(stdout);
    std::getchar();
}

// "-" then the option's first letter in either case and its next two exactly.
bool matches(const char* arg, const char* option) {
    return arg[0] == '-' && arg[1] != '\0' &&
           std::tolower(static_cast<unsigned char>(arg[1])) == option[0] &&
           std::strncmp(arg + 2, option + 1, 2) == 0;
}

// A decimal size argument, clamped to the int range.
int size_argument(const char* text) {
    errno = 0;
    const long long v = std::strtoll(text, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

bool probe_mmx() {
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("mmx");
#else
    return false;
#endif
}

}  // namespace

void fg_parse_options(int* argc, char** argv) {
    if (!argc || !argv || *argc <= 0) return;
    FGToolkitState& t = fg_toolkit;
    const int n = *argc;
    int out = 0;
    for (int i = 0; i < n;) {
        const char* a = argv[i];
        // What the option takes: never more than the arguments that exist.
        const int left = n - i;
        int used = 0;
        if (!a || a[0] != '-') {
            used = 0;
        } else if (matches(a, "dac")) {
            t.dac8 = 1;
            used = 1;
        } else if (matches(a, "geo")) {
            used = left >= 3 ? 3 : left;
            if (left >= 3) {
                t.custom_width = size_argument(argv[i + 1]);
                t.custom_height = size_argument(argv[i + 2]);
                t.custom_size = 1;
                t.video_mode = FG_MODE_CUSTOM;
                t.windowed = 1;
            }
        } else if (std::tolower(static_cast<unsigned char>(a[1])) == 'h') {
            print_help();
            used = 1;
        } else if (matches(a, "mic")) {
            t.dev_mouse = 1;
            if (t.verbose) std::printf("DEVMOUSE fallback mouse initialization!\n");
            used = 1;
        } else if (matches(a, "noa")) {
            t.no_accel = 1;
            if (t.verbose) std::printf("HW acceleration disabled\n");
            used = 1;
        } else if (matches(a, "nof")) {
            t.full_drag = 0;
            used = 1;
        } else if (matches(a, "ps2")) {
            t.ps2_mouse = 1;
            if (t.verbose) std::printf("PS2 fallback mouse initialization!\n");
            used = 1;
        } else if (matches(a, "res")) {
            used = left >= 2 ? 2 : 1;
            if (left >= 2) t.video_mode = argv[i + 1][0] - '0';
        } else if (matches(a, "saf")) {
            t.video_mode = 2;
            t.verbose = 1;
            t.app_flags &= ~FG_APP_WINDOW_DB;
            std::printf("Safe mode entered ..\a\n");
            used = 1;
        } else if (matches(a, "ver")) {
            t.verbose = 1;
            print_banner();
            std::printf("\t\twith multi-threading\n");
            used = 1;
        } else if (matches(a, "win")) {
            t.windowed = 1;
            used = 1;
        }
        if (used == 0) {
            argv[out++] = argv[i++];
        } else {
            i += used;
        }
    }
    if (out < n) argv[out] = nullptr;
    *argc = out;
    t.argc = out;
    t.argv = argv;
}

// ---------------------------------------------------------------- construction

namespace {

std::string base_name_of(const char* path) {
    std::string name = path ? path : "";
    const size_t len = name.size();
    if (len >= 4 && (name.compare(len - 4, 4, ".exe") == 0 || name.compare(len - 4, 4, ".EXE") == 0))
        name.resize(len - 4);
    const size_t cut = name.find_last_of("/:\\");
    if (cut != std::string::npos) name.erase(0, cut + 1);
    return name;
}

}  // namespace

FGApp::FGApp(int video_mode, int* argc, char** argv, int background, unsigned flags)
    : spare_event(new FGEvent{}) {
    FGToolkitState& t = fg_toolkit;
    t.video_mode = video_mode;
    t.background = background;
    t.app_flags = flags;
    spare_event->type = FGE_REPEAT;
    t.mmx = probe_mmx() ? 1 : 0;

    if (t.app) fg_error("Multiple FGApp class not allowed !", 1);
    t.app = this;
    t.main_thread = std::this_thread::get_id();
    fg_error_reporter = fg_error;

    const char* home = (flags & FG_APP_IGNORE_HOME) ? nullptr : std::getenv("HOME");
    if (!getcwd(t.work_dir, sizeof t.work_dir)) t.work_dir[0] = '\0';
    t.home = home ? home : ".";

    t.base_name = base_name_of(argc && argv && *argc > 0 ? argv[0] : nullptr);
    const std::string rc = t.base_name + ".rc";
    t.config.reset(new Config(rc.c_str(), (flags & FG_APP_CONFIG_WRITE) != 0));
    t.config->GetInt("default_videomode", &t.video_mode);

    fg_parse_options(argc, argv);

    if (t.app_flags & FG_APP_WINDOW_DB)
        t.database.reset(new WindowDatabase(t.base_name.c_str(), t.home.c_str()));

    if (t.video_mode < 1 || t.video_mode > FG_MODE_CUSTOM) t.video_mode = 1;
    fg_driver_settings.custom_width = t.custom_width;
    fg_driver_settings.custom_height = t.custom_height;
    fg_driver_settings.windowed = t.windowed;
    fg_driver_settings.verbose = t.verbose;
    if (!fg_set_mode(t.video_mode)) {
        std::printf("Fatal error: can't set graphics mode %d\n\a", t.video_mode);
        std::fflush(stdout);
        std::exit(FG_EXIT_NO_MODE);
    }

    fg_window_context.app_flags = t.app_flags;
    fg_window_context.background = static_cast<FGPixel>(background);
    fg_window_context.database = t.database.get();
    fg_window_context.full_drag = t.full_drag;
    fg_window_context.quitting = 0;

    const int w = fg_screen_width(), h = fg_screen_height();
    pointer_x = w / 2;
    pointer_y = h / 2;
    fg_window_context.pointer_x = pointer_x;
    fg_window_context.pointer_y = pointer_y;
    if (background != 255) {
        fg_screen_clear(static_cast<FGPixel>(background));
        if (fg_driver) fg_driver->UpdateRect(0, 0, 0, 0, w, h);
    }

    fg_idle_callback = nullptr;
    if (t.app_flags & FG_APP_ROOT_WINDOW) t.root = fg_create_root_window(static_cast<FGPixel>(background));
}

FGApp::~FGApp() {
    FGToolkitState& t = fg_toolkit;
    const int w = fg_screen_width(), h = fg_screen_height();
    if (t.app_flags & FG_APP_WIPE_AT_EXIT) {
        for (int i = 0; i < h; i++) {
            fg_screen_fill(i, i, w - i, 1, 0, 0);
            fg_screen_fill(i, i, 1, h - i, 0, 0);
            if ((i & 31) == 31) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    } else {
        fg_screen_clear(0);
    }
    fg_idle_callback = nullptr;
    t.config.reset();
    if (t.root && fg_root_window() == t.root) delete t.root;
    t.root = nullptr;
    const int open = fg_window_count();
    if (t.verbose && open > 0) std::printf("WARNING: %d window(s) not closed at exit\n", open);
    fg_window_context.database = nullptr;
    t.database.reset();
    delete spare_event;
    spare_event = nullptr;
    if (t.app == this) {
        t.app = nullptr;
        if (fg_error_reporter == fg_error) fg_error_reporter = [](const char* m, int) { fg_error_print(m, 0); };
    }
}

// ---------------------------------------------------------------- dispatching

void FGApp::Dispatch(FGEvent* event) {
    FGWindow* current = GetCurrentWindow();
    const int current_id = current ? current->id : -1;
    FGEvent posted{};
    event->control_type = 0;
    if (!current) {
        if (event->type == FGE_KEY && !HandleToolkitKey(event->key)) PostEvent(event);
        return;
    }
    if (event->type == FGE_KEY) {
        if (HandleToolkitKey(event->key)) return;
        current = GetCurrentWindow();
        if (!current) return;
        FGControl* control = nullptr;
        if (event->key == 13 && current->current_page && current->current_page->focus)
            control = current->current_page->focus;
        else
            control = fg_hot_key_control(current, event->key);
        if (control) {
            control->Press(event->x - current->screen_x, event->y - current->screen_y);
            event->type = FGE_CONTROL;
            event->key = control->id;
            event->control_type = static_cast<int>(control->type);
            event->control = control;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (fg_toolkit.click_beeps) fg_beep(100, 10);
            control->Release(1);
        } else {
            posted.type = FGE_KEY;
            posted.key = event->key;
        }
    }
    if (event->type == FGE_CONTROL) posted = *event;
    if (posted.type != 0) PostEvent(&posted);
    if (event->type != 0) {
        if (FGWindow* now = GetCurrentWindow()) SendToWindow(now, event);
    }
    if (FGWindow* first = fg_find_window(current_id)) first->RunPendingCallback();
}

int FGApp::HandleToolkitKey(int key) {
    FGWindow* current = GetCurrentWindow();
    switch (key) {
        case 9:
            if (current && (current->flags & WNOTEBOOK)) {
                current->NextPage();
                return 1;
            }
            return 0;
        case 27:
            if (!current) return 1;
            if (!(current->flags & WESCAPE)) return 0;
            current->Close();
            return 1;
        case FG_KEY_CLOSE_WINDOW:
            if (current) current->Close();
            return 1;
        case 293:
        case 294:
        case 295:
        case 296:
            if (!current || !current->current_page || !current->current_page->focus) return 0;
            if (key <= 294)
                fg_focus_previous(current->current_page);
            else
                fg_focus_next(current->current_page);
            return 1;
        case FG_KEY_NEXT_WINDOW:
            if (current) {
                FGWindow::NextWindow();
                return 1;
            }
            return HandleToolkitKey(FG_KEY_QUIT);
        case FG_KEY_QUIT:
            if (!(fg_toolkit.app_flags & FG_APP_ALT_X_QUITS)) return 0;
            {
                FGEvent quit{};
                quit.type = FGE_QUIT;
                PostEvent(&quit);
            }
            return 1;
        case FG_KEY_ICONIFY:
            if (!current) return 0;
            {
                int x = current->icon_x, y = current->icon_y;
                if (x == -1 && y == -1) {
                    x = pointer_x - 16;
                    y = pointer_y - 16;
                }
                return current->Iconize(x, y) ? 1 : 0;
            }
        default:
            return 0;
    }
}
