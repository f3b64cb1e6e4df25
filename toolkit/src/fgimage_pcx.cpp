// PCX 5.0 decoder: run-length coded 8-bit indices and the 256-colour palette
// behind the marker byte 12.
#include "fgimage.h"

namespace {

int not_pcx(const char* name) {
    fg_image_error("FGBitmap '%s' isn't PCX 5.0 file!", name);
    return FG_BITMAP_BAD_FORMAT;
}

}  // namespace

int fg_decode_pcx(FGImageReader& in, FGBitmap& b, const char* name) {
    uint8_t head[128];
    if (!in.read(head, sizeof head) || head[0] != 10 || head[1] != 5) return not_pcx(name);
    const int w = fg_le16(head + 66), h = fg_le16(head + 10) + 1;
    if (!fg_image_size_ok(w, h)) return not_pcx(name);
    b.info.bit_count = head[3];
    b.info.planes = 1;
    fg_bitmap_set_array(b, w, h);

    const int64_t total = static_cast<int64_t>(w) * h;
    for (int64_t i = 0; i < total;) {
        int c = in.byte(), count = 1;
        if (c >= 0 && (c & 0xC0) == 0xC0) {
            count = c & 0x3F;
            c = in.byte();
        }
        if (c < 0) return not_pcx(name);
        // A run is cut at the end of the picture.
        for (; count > 0 && i < total; count--) b.pixels[i++] = static_cast<FGPixel>(c);
    }
    uint8_t rgb[768];
    if (in.byte() != 12 || !in.read(rgb, sizeof rgb)) return not_pcx(name);
    for (int i = 0; i < 256; i++)
        b.palette[i] = FGPaletteEntry{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
    return FG_BITMAP_OK;
}
