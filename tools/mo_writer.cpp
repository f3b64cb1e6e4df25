// Message catalogue compiler for the display's code pages.
//   mo_writer <catalogue.po> <out.mo> <code page>
// The catalogues are kept in UTF-8, but the program passes its texts to gettext as
// single-byte strings in the fonts' code page, and gettext compares message ids
// byte for byte. So the ids are written in Windows-1252, exactly as the sources
// hold them, and the translations in the language's font code page (with
// transliteration where the fonts lack a letter); the header names that code page,
// so the codeset bound at start-up converts nothing.
// Untranslated and fuzzy messages are left out: gettext then shows the source text.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "write_file.h"

namespace {

const char* const IdCodePage = "WINDOWS-1252";

struct TEntry {
    std::string context;
    std::string id;
    std::string idPlural;
    std::vector<std::string> strs;
    bool fuzzy = false;
    bool hasContext = false;
};

// Converts with iconv; false when a character cannot be represented.
class TConverter {
public:
    TConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~TConverter() {
        if (ok()) iconv_close(cd_);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    bool Convert(const std::string& in, std::string& out) {
        out.clear();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> src(in.begin(), in.end());
        char* inp = src.data();
        size_t inLeft = src.size();
        char buf[256];
        while (inLeft > 0) {
            char* outp = buf;
            size_t outLeft = sizeof buf;
            size_t r = iconv(cd_, &inp, &inLeft, &outp, &outLeft);
            out.append(buf, static_cast<size_t>(outp - buf));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
            // A transliteration that yields "?" means the letter is lost.
            if (r != static_cast<size_t>(-1) && r > 0 && out.find('?') != std::string::npos &&
                in.find('?') == std::string::npos)
                return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

bool Unescape(const std::string& line, size_t at, std::string& out) {
    size_t q = line.find('"', at);
    if (q == std::string::npos) return false;
    for (size_t i = q + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= line.size()) return false;
        switch (line[i]) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            default:
                if (line[i] >= '0' && line[i] <= '7') {
                    int v = 0;
                    for (int k = 0; k < 3 && i < line.size() && line[i] >= '0' && line[i] <= '7'; ++k, ++i)
                        v = v * 8 + (line[i] - '0');
                    --i;
                    out += static_cast<char>(v);
                } else {
                    out += line[i];
                }
        }
    }
    return false;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

// Reads the catalogue; false with a message on a line it cannot parse.
bool ReadCatalogue(const char* path, std::vector<TEntry>& entries) {
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::perror(path);
        return false;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);

    TEntry cur;
    std::string* target = nullptr;
    // An entry ends at the first comment or id after its translation.
    auto flush = [&]() {
        if (!cur.strs.empty()) {
            entries.push_back(cur);
            cur = TEntry();
            target = nullptr;
        }
    };
    size_t pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        line = line.substr(first);
        bool ok = true;
        if (StartsWith(line, "#~")) {
            continue;  // obsolete
        } else if (line[0] == '#') {
            flush();
            if (StartsWith(line, "#,") && line.find("fuzzy") != std::string::npos) cur.fuzzy = true;
        } else if (StartsWith(line, "msgctxt")) {
            flush();
            cur.hasContext = true;
            target = &cur.context;
            ok = Unescape(line, 7, *target);
        } else if (StartsWith(line, "msgid_plural")) {
            target = &cur.idPlural;
            ok = Unescape(line, 12, *target);
        } else if (StartsWith(line, "msgid")) {
            flush();
            target = &cur.id;
            ok = Unescape(line, 5, *target);
        } else if (StartsWith(line, "msgstr")) {
            cur.strs.emplace_back();
            target = &cur.strs.back();
            ok = Unescape(line, 6, *target);
        } else if (line[0] == '"') {
            ok = target != nullptr && Unescape(line, 0, *target);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "%s:%d: cannot read this line\n", path, lineNo);
            return false;
        }
    }
    flush();
    return true;
}

void Put32(std::string& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct TPair {
    std::string id;
    std::string str;
};

std::string Layout(std::vector<TPair>& pairs) {
    std::sort(pairs.begin(), pairs.end(), [](const TPair& a, const TPair& b) { return a.id < b.id; });
    const uint32_t count = static_cast<uint32_t>(pairs.size());
    const uint32_t idTable = 28;
    const uint32_t strTable = idTable + 8 * count;
    uint32_t data = strTable + 8 * count;
    std::string head, ids, strs, blob;
    Put32(head, 0x950412deu);
    Put32(head, 0);
    Put32(head, count);
    Put32(head, idTable);
    Put32(head, strTable);
    Put32(head, 0);  // no hash table: gettext searches the sorted ids
    Put32(head, data);
    for (const TPair& p : pairs) {
        Put32(ids, static_cast<uint32_t>(p.id.size()));
        Put32(ids, data + static_cast<uint32_t>(blob.size()));
        blob += p.id;
        blob += '\0';
    }
    for (const TPair& p : pairs) {
        Put32(strs, static_cast<uint32_t>(p.str.size()));
        Put32(strs, data + static_cast<uint32_t>(blob.size()));
        blob += p.str;
        blob += '\0';
    }
    return head + ids + strs + blob;
}

// The header with its charset replaced by the code page written.
std::string Header(const std::string& header, const char* codePage) {
    std::string out;
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = header.find('\n', pos);
        if (end == std::string::npos) end = header.size();
        std::string line = header.substr(pos, end - pos);
        pos = end + 1;
        if (StartsWith(line, "Content-Type:")) line = std::string("Content-Type: text/plain; charset=") + codePage;
        out += line + '\n';
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: mo_writer <catalogue.po> <out.mo> <code page>\n");
        return 2;
    }
    const char* codePage = argv[3];
    // iconv transliterates ("\u010D" -> "c") only with a UTF-8 character locale.
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "C.utf8");
    std::vector<TEntry> entries;
    if (!ReadCatalogue(argv[1], entries)) return 1;
    TConverter idConv(IdCodePage, "UTF-8");
    std::string strTarget = std::string(codePage) + "//TRANSLIT";
    TConverter strConv(strTarget.c_str(), "UTF-8");
    if (!idConv.ok() || !strConv.ok()) {
        std::fprintf(stderr, "mo_writer: no conversion to %s\n", codePage);
        return 1;
    }
    std::vector<TPair> pairs;
    int failures = 0;
    for (const TEntry& e : entries) {
        if (e.id.empty() && !e.hasContext) {
            if (!e.strs.empty()) pairs.push_back({"", Header(e.strs[0], codePage)});
            continue;
        }
        if (e.fuzzy || e.strs.empty()) continue;
        bool translated = std::all_of(e.strs.begin(), e.strs.end(), [](const std::string& s) { return !s.empty(); });
        if (!translated) continue;
        std::string id, plural, ctx;
        if (!idConv.Convert(e.id, id) || !idConv.Convert(e.idPlural, plural) || !idConv.Convert(e.context, ctx)) {
            std::fprintf(stderr, "%s: message \"%s\" is not in %s\n", argv[1], e.id.c_str(), IdCodePage);
            ++failures;
            continue;
        }
        TPair p;
        if (e.hasContext) p.id = ctx + '\x04';
        p.id += id;
        if (!e.idPlural.empty()) p.id += std::string(1, '\0') + plural;
        bool ok = true;
        for (size_t i = 0; i < e.strs.size(); ++i) {
            std::string s;
            if (!strConv.Convert(e.strs[i], s)) {
                std::fprintf(stderr, "%s: translation \"%s\" is not in %s\n", argv[1], e.strs[i].c_str(), codePage);
                ok = false;
                break;
            }
            if (i) p.str += '\0';
            p.str += s;
        }
        if (!ok) {
            ++failures;
            continue;
        }
        pairs.push_back(std::move(p));
    }
    if (failures) return 1;
    std::string mo = Layout(pairs);
    return gen::WriteFile(argv[2], mo.data(), mo.size()) ? 0 : 1;
}
