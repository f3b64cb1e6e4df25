#include "bmpfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "lebytes.h"
#include "trace.h"

uint32_t BmpRowBytes(int32_t width) {
    return (static_cast<uint32_t>(width) * 3u + 3u) & ~3u;
}

int BmpEncode24(const uint32_t* pixels, int32_t width, int32_t height, int32_t pitch,
                std::vector<uint8_t>* out) {
    if (!pixels || !out || width < 1 || height < 1 || width > BmpMaxSide || height > BmpMaxSide ||
        pitch < width)
        return BMP_ERR_ARGS;
    const uint32_t rowBytes = BmpRowBytes(width);
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    out->assign(BmpPixelOffset + imageBytes, 0);

    TBmpHeaders h{};
    uint8_t* f = h.bytes;
    f[0] = 'B';
    f[1] = 'M';
    CfgPut32(f + 2, BmpPixelOffset + imageBytes);  // file size
    CfgPut32(f + 10, BmpPixelOffset);              // offset of the pixels
    uint8_t* i = h.bytes + BmpFileHeaderSize;
    CfgPut32(i + 0, BmpInfoHeaderSize);
    CfgPut32(i + 4, static_cast<uint32_t>(width));
    CfgPut32(i + 8, static_cast<uint32_t>(height));  // positive: rows run bottom-up
    CfgPut16(i + 12, 1);                             // planes
    CfgPut16(i + 14, 24);                            // bits per pixel
    CfgPut32(i + 16, 0);                             // no compression
    CfgPut32(i + 20, imageBytes);
    CfgPut32(i + 24, 2835);  // 72 dpi
    CfgPut32(i + 28, 2835);
    memcpy(out->data(), h.bytes, sizeof h.bytes);

    uint8_t* dst = out->data() + BmpPixelOffset;
    for (int32_t y = height - 1; y >= 0; --y, dst += rowBytes) {
        const uint32_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = src[x];
            dst[3 * x + 0] = static_cast<uint8_t>(p);
            dst[3 * x + 1] = static_cast<uint8_t>(p >> 8);
            dst[3 * x + 2] = static_cast<uint8_t>(p >> 16);
        }
    }
    return BMP_OK;
}

int BmpWrite24(const char* path, const uint32_t* pixels, int32_t width, int32_t height,
               int32_t pitch) {
    std::vector<uint8_t> image;
    int rc = BmpEncode24(pixels, width, height, pitch, &image);
    if (rc != BMP_OK || !path) return rc != BMP_OK ? rc : BMP_ERR_ARGS;

    FILE* f = fopen(path, "wb");
    if (!f) {
        TRACE_ERR("can't create %s: %s", path, strerror(errno));
        return BMP_ERR_OPEN;
    }
    bool ok = fwrite(image.data(), 1, image.size(), f) == image.size();
    ok = fflush(f) == 0 && ok;
    int err = ok ? 0 : errno;
    struct stat st;
    // Only a regular file of ours is removed: never a device such as a full-disk stand-in.
    bool regular = fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
    if (fclose(f) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok) return BMP_OK;
    TRACE_ERR("can't write %s: %s", path, strerror(err));
    if (regular) unlink(path);
    return BMP_ERR_WRITE;
}
