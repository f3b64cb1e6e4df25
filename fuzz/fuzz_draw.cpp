// Decodes bytes into a sequence of drawing calls with arbitrary coordinates,
// sizes, modes and colours on small buffers; any access outside a pixel
// array or any signed overflow is caught by the sanitizers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fgdrawbuffer.h"

namespace {

struct Reader {
    const uint8_t* p;
    size_t n;
    uint8_t byte() {
        if (!n) return 0;
        n--;
        return *p++;
    }
    int32_t word() {
        uint32_t v = 0;
        for (int i = 0; i < 4; i++) v |= uint32_t(byte()) << (8 * i);
        int32_t out;
        std::memcpy(&out, &v, sizeof out);
        return out;
    }
    // Mostly small values near the buffer, sometimes any 32-bit value.
    int coord() {
        const uint8_t k = byte();
        if (k & 0x80) return word();
        return int(k & 0x3F) - 16;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in{data, size};
    FGDrawBuffer dst(13, 9, FG_TYPE_BITMAP, 0);
    FGDrawBuffer src(5, 4, FG_TYPE_BITMAP, 0x123456);
    src.pixel(1, 1, 0xFF00FF);
    int steps = 0;
    while (in.n && steps++ < 200) {
        FGDrawBuffer& b = (in.byte() & 1) ? dst : src;
        const uint8_t op = in.byte() % 22;
        switch (op) {
            case 0: b.set_clip_rect(in.coord(), in.coord(), in.coord(), in.coord()); break;
            case 1: b.set_mode(in.byte()); break;
            case 2: b.set_line_width(in.coord()); break;
            case 3: b.set_colorkey(in.byte() & 1 ? FG_NO_KEY : FGPixel(in.word())); break;
            case 4: b.set_blend(in.byte()); break;
            case 5: b.set_font(in.coord()); break;
            case 6: b.pixel(in.coord(), in.coord(), FGPixel(in.word())); break;
            case 7: b.hline(in.coord(), in.coord(), in.coord()); break;
            case 8: b.vline(in.coord(), in.coord(), in.coord()); break;
            case 9: b.line(in.coord(), in.coord(), in.coord(), in.coord()); break;
            case 10: b.lineto(in.coord(), in.coord()); break;
            case 11: b.box(in.coord(), in.coord(), in.coord(), in.coord()); break;
            case 12: b.fillbox(in.coord(), in.coord(), in.coord(), in.coord(), FGPixel(in.word())); break;
            case 13: b.circle(in.coord(), in.coord(), in.coord()); break;
            case 14: b.fillcircle(in.coord(), in.coord(), in.coord()); break;
            case 15: {
                const int x = in.coord(), y = in.coord();
                const double a1 = in.coord() / 64.0, a2 = in.coord() / 64.0;
                b.arc(x, y, a1, a2, in.coord());
                break;
            }
            case 16:
            case 17: {
                std::vector<FGPoint> pts(in.byte() % 140);
                for (FGPoint& p : pts) p = {in.coord(), in.coord()};
                FGPointArray pa(int(pts.size()), pts.data());
                if (op == 16)
                    b.polyline(pa);
                else
                    b.fillpolygon(pa);
                break;
            }
            case 18: {
                std::string s(in.byte() % 48, ' ');
                for (char& c : s) c = char(in.byte() | 1);
                b.text(in.coord(), in.coord(), s.c_str(), FGPixel(in.word()), FGPixel(in.word()));
                break;
            }
            case 19: {
                FGDrawBuffer& from = (in.byte() & 1) ? dst : src;
                b.bitblt(in.coord(), in.coord(), in.coord(), in.coord(), in.coord(), in.coord(),
                         &from, unsigned(in.word()));
                break;
            }
            case 20: b.resize(int(in.byte() % 9) - 4, int(in.byte() % 9) - 4); break;
            default:
                b.save_state();
                b.set_mode(in.byte());
                b.restore_state();
                break;
        }
    }
    return 0;
}
