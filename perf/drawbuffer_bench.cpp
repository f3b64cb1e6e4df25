// Drawing an 800 x 480 frame: fills, text, lines and copies, each reported
// in bytes of the frame against a plain memset of the same buffer (the
// memory-bandwidth bound).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "fgdrawbuffer.h"
#include "fgfontmanager.h"

namespace {

constexpr int W = 800, H = 480;
constexpr int64_t FRAME_BYTES = int64_t(W) * H * sizeof(FGPixel);

void BM_Memset(benchmark::State& st) {
    std::vector<FGPixel> frame(size_t(W) * H);
    for (auto _ : st) {
        std::memset(frame.data(), 0x20, size_t(FRAME_BYTES));
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(st.iterations() * FRAME_BYTES);
}
BENCHMARK(BM_Memset);

void BM_Clear(benchmark::State& st) {
    FGDrawBuffer b(W, H, FG_TYPE_BITMAP, 0);
    for (auto _ : st) {
        b.clear(0x202020);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(st.iterations() * FRAME_BYTES);
}
BENCHMARK(BM_Clear);

// Whole-frame fill in a raster-operation mode (0 copy, 1 XOR, 9 keyed).
void BM_FillBox(benchmark::State& st) {
    FGDrawBuffer b(W, H, FG_TYPE_BITMAP, 0);
    b.set_mode(unsigned(st.range(0)));
    for (auto _ : st) {
        b.fillbox(0, 0, W, H, 0x336699);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(st.iterations() * FRAME_BYTES);
}
BENCHMARK(BM_FillBox)->Arg(0)->Arg(1)->Arg(9);

// A frame full of text lines in one font (1 fixed 8x8, 7 proportional, 5 fixed 20x34).
void BM_TextFrame(benchmark::State& st) {
    FGDrawBuffer b(W, H, FG_TYPE_BITMAP, 0);
    const int font = int(st.range(0));
    b.set_font(font);
    const int h = FGFontManager::get_font_height(font);
    const char* line = "ALT 12500 ft  IAS 128 kt  QNH 1013 hPa  OAT -5 C  FF 32.5 l/h  EGT 720 C";
    for (auto _ : st) {
        for (int y = 0; y + h <= H; y += h) b.text(0, y, line, 0xFFFFFF, 0);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(st.iterations() * FRAME_BYTES);
}
BENCHMARK(BM_TextFrame)->Arg(1)->Arg(7)->Arg(5);

// 1000 lines across the frame, width 1 and 3.
void BM_Lines(benchmark::State& st) {
    FGDrawBuffer b(W, H, FG_TYPE_BITMAP, 0);
    b.set_line_width(int(st.range(0)));
    for (auto _ : st) {
        for (int i = 0; i < 1000; i++) {
            const int x = (i * 37) % W, y = (i * 91) % H;
            b.line(x, y, W - 1 - x, (y * 3) % H, 0x00FF00);
        }
        benchmark::ClobberMemory();
    }
    st.SetItemsProcessed(st.iterations() * 1000);
}
BENCHMARK(BM_Lines)->Arg(1)->Arg(3);

// A whole frame copied from another buffer, plain, keyed and blended.
void BM_Bitblt(benchmark::State& st) {
    FGDrawBuffer src(W, H, FG_TYPE_BITMAP, 0x445566);
    FGDrawBuffer dst(W, H, FG_TYPE_BITMAP, 0);
    if (st.range(0) == 1) src.set_colorkey(0xFF00FF);
    if (st.range(0) == 2) src.set_blend(128);
    for (auto _ : st) {
        dst.bitblt(0, 0, 0, 0, W, H, &src);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(st.iterations() * FRAME_BYTES);
}
BENCHMARK(BM_Bitblt)->Arg(0)->Arg(1)->Arg(2);

void BM_FillPolygon(benchmark::State& st) {
    FGDrawBuffer b(W, H, FG_TYPE_BITMAP, 0);
    FGPoint needle[4] = {{400, 40}, {412, 240}, {400, 260}, {388, 240}};
    FGPointArray pa(4, needle);
    for (auto _ : st) {
        b.fillpolygon(pa, 0xFFFFFF);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillPolygon);

}  // namespace

BENCHMARK_MAIN();
