#include "cataloguecheck.h"

#include <cerrno>
#include <cstring>

#include "readfile.h"
#include "trace.h"

namespace {

constexpr uint32_t CatalogueMagic = 0x950412DEu;
constexpr size_t CatalogueHeaderSize = 28;        // magic .. hash table offset
constexpr size_t CatalogueSysdepHeaderSize = 48;  // and the system-dependent tables
constexpr size_t CatalogueMaxSize = 64u << 20;    // far beyond any catalogue

class TMoReader {
public:
    TMoReader(const uint8_t* data, size_t size, bool swap) : data_(data), size_(size), swap_(swap) {}
    uint32_t Word(uint64_t at) const {
        uint32_t v;
        std::memcpy(&v, data_ + at, 4);
        return swap_ ? __builtin_bswap32(v) : v;
    }
    // A table of count entries of `entry` bytes at offset lies inside the data.
    bool Fits(uint64_t offset, uint64_t count, uint64_t entry) const {
        return offset <= size_ && count <= (size_ - offset) / entry;
    }
    // Every {length, offset} of the string table ends in a NUL inside the data.
    const char* Strings(uint64_t table, uint32_t count) const {
        if (!Fits(table, count, 8)) return "string table outside the file";
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t length = Word(table + 8ull * i), offset = Word(table + 8ull * i + 4);
            if (offset + length >= size_) return "string outside the file";
            if (data_[offset + length] != 0) return "string without its ending";
        }
        return nullptr;
    }

private:
    const uint8_t* data_;
    size_t size_;
    bool swap_;
};

bool Prime(uint32_t n) {
    if (n < 2) return false;
    for (uint32_t d = 2; uint64_t(d) * d <= n; ++d)
        if (n % d == 0) return false;
    return true;
}

}  // namespace

int CheckCatalogueData(const uint8_t* data, size_t size, std::string* why) {
    auto damaged = [why](const char* fault) {
        if (why) *why = fault;
        return CatalogueDamaged;
    };
    if (!data || size < CatalogueHeaderSize) return damaged("shorter than its header");
    uint32_t magic;
    std::memcpy(&magic, data, 4);
    const bool swap = magic != CatalogueMagic;
    if (swap && __builtin_bswap32(magic) != CatalogueMagic) return damaged("not a message catalogue");
    const TMoReader mo(data, size, swap);

    const uint32_t revision = mo.Word(4);
    if ((revision >> 16) > 1) return damaged("unknown revision");
    if ((revision & 0xFFFF) != 0) {
        // Strings that depend on the system are not used here, and their tables are not checked.
        if (size < CatalogueSysdepHeaderSize) return damaged("shorter than its header");
        if (mo.Word(28) != 0 || mo.Word(36) != 0) return damaged("system-dependent strings");
    }

    const uint32_t count = mo.Word(8);
    if (const char* fault = mo.Strings(mo.Word(12), count)) return damaged(fault);
    if (const char* fault = mo.Strings(mo.Word(16), count)) return damaged(fault);

    // The library probes the hash table until it meets an empty slot; with a prime size
    // every slot is reached, so one empty slot ends every lookup.
    const uint32_t hashSize = mo.Word(20), hashTable = mo.Word(24);
    if (hashSize > 2) {
        if (!mo.Fits(hashTable, hashSize, 4)) return damaged("hash table outside the file");
        if (!Prime(hashSize)) return damaged("hash table size is not prime");
        bool empty = false;
        for (uint32_t i = 0; i < hashSize; ++i) {
            const uint32_t entry = mo.Word(hashTable + 4ull * i);
            if (entry > count) return damaged("hash entry names no string");
            empty = empty || entry == 0;
        }
        if (!empty) return damaged("hash table without an empty slot");
    }
    return CatalogueOk;
}

int CheckCatalogueFile(const char* path, std::string* why) {
    std::string data;
    std::string refusal;
    switch (ReadRegularFile(path, CatalogueMaxSize, data, &refusal)) {
        case 0: break;
        case ReadFileCannotOpen:
            if (errno == ENOENT || errno == ENOTDIR) return CatalogueMissing;
            if (why) *why = std::strerror(errno);
            return CatalogueUnreadable;
        case ReadFileNotRegular:
            if (why) *why = refusal;
            return CatalogueUnreadable;
        case ReadFileTooLarge:
            if (why) *why = "far too large";
            return CatalogueUnreadable;
        default:
            if (why) *why = std::strerror(errno);
            return CatalogueUnreadable;
    }
    return CheckCatalogueData(reinterpret_cast<const uint8_t*>(data.data()), data.size(), why);
}

bool CatalogueUsable(const char* dir, const char* locale, const char* domain) {
    // The language switch names the catalogue by the locale's two letters.
    const std::string path = std::string(dir) + "/" + std::string(locale).substr(0, 2) + "/LC_MESSAGES/" + domain + ".mo";
    std::string why;
    const int r = CheckCatalogueFile(path.c_str(), &why);
    if (r < 0)
        TRACE_ERR("message catalogue %s is not used (%s): the texts stay in English", path.c_str(), why.c_str());
    return r >= 0;
}
