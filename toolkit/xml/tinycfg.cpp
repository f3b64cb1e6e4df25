// tinycfg: configuration store over TinyXML, and the reader of its older
// line-oriented text form.
#include "tinycfg.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <strings.h>
#include <sys/stat.h>

#include "atomicsave.h"
#include "readfile.h"
#include "trace.h"
#include "unique_fd.h"

const char TinycfgDefaultText[] = "<?xml version=\"1.0\" standalone='yes' >\n<tinycfg>\n</tinycfg>";

namespace {

// Caller errors (hex lengths) stop the process in every build type.
[[noreturn]] void AssertFailed(const char* expression, int line) {
    fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, "tinycfg", line);
    abort();
}
#define TINYCFG_ASSERT(e) ((e) ? (void)0 : AssertFailed(#e, __LINE__))

constexpr size_t MaxFileSize = 16u << 20;  // far beyond any store; guards memory
constexpr int MaxXmlDepth = 128;           // TinyXML parses, prints and frees recursively
constexpr int MaxDomainParts = 32;
constexpr int MaxDomainPart = 62;

bool AsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool AsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
int HexDigit(char c) {
    if (AsciiDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// ---- numbers: always in the "C" notation, whatever locale the program set ----

class CNumbers {
public:
    CNumbers() : old(Locale() ? uselocale(Locale()) : nullptr) {}
    ~CNumbers() {
        if (old) uselocale(old);
    }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    static locale_t Locale() {
        static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
        return c;
    }
    locale_t old;
};

bool OnlySpaces(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return *p == '\0';
}

// A leading decimal number as "%d" reads it; whole: nothing but spaces may follow.
bool ParseInt(const char* text, int* out, bool whole) {
    char* end = nullptr;
    errno = 0;
    long long v = strtoll(text, &end, 10);
    if (end == text || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
    if (whole && !OnlySpaces(end)) return false;
    *out = static_cast<int>(v);
    return true;
}

bool ParseDouble(const char* text, double* out, bool whole) {
    CNumbers c;
    char* end = nullptr;
    double v = strtod(text, &end);
    if (end == text || (whole && !OnlySpaces(end))) return false;
    *out = v;
    return true;
}

// Shortest text that reads back as the same double.
void FormatDouble(double v, char* buffer, size_t size) {
    CNumbers c;
    for (int precision = 15; precision <= 17; ++precision) {
        snprintf(buffer, size, "%.*g", precision, v);
        if (strtod(buffer, nullptr) == v) return;
    }
}

void FormatInt(int v, char* buffer, size_t size) { snprintf(buffer, size, "%d", v); }

const char* BoolText(bool v) { return v ? "true" : "false"; }

// Two lower-case hex digits per byte; out holds 2 * count + 1.
void HexText(const unsigned char* bytes, int count, char* out) {
    static const char digits[] = "0123456789abcdef";
    for (int i = 0; i < count; ++i) {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 15];
    }
    out[2 * (count > 0 ? count : 0)] = '\0';
}

// Reads hex pairs (either case) until the text ends, a pair is not hex or max bytes are read.
int HexPairs(const char* text, unsigned char* out, int max) {
    int n = 0;
    while (n < max) {
        int hi = HexDigit(text[0]);
        int lo = hi < 0 ? -1 : HexDigit(text[1]);
        if (lo < 0) break;
        out[n++] = static_cast<unsigned char>(hi << 4 | lo);
        text += 2;
    }
    return n;
}

// Copies and always terminates (length includes the terminator).
void CopyText(char* out, int length, const char* text) {
    if (length <= 0) return;
    size_t n = strlen(text);
    if (n > static_cast<size_t>(length - 1)) n = static_cast<size_t>(length - 1);
    memcpy(out, text, n);
    out[n] = '\0';
}

int LineOf(const char* begin, const char* at) {
    int line = 1;
    for (const char* p = begin; p < at; ++p)
        if (*p == '\n') ++line;
    return line;
}

// ---- files ----

// 0, an errno value, or NotRegularFile (already said on the console).
constexpr int NotRegularFile = -1;
int ReadFileText(const char* fileName, std::string& text) {
    switch (ReadRegularFile(fileName, MaxFileSize, text)) {
        case 0: return 0;
        case ReadFileNotRegular: return NotRegularFile;
        case ReadFileTooLarge: return EFBIG;
        default: return errno;  // from open() or read()
    }
}

// ---- XML shape check ----
// TinyXML recurses once per nesting level and can be led to skip text in
// ways a simple count would miss. Before it sees a text, this walks it exactly
// as the library tokenises it (single-byte text) and accepts only the plain
// subset that the store writes: one declaration at the start, comments,
// elements with quoted attributes, text, character references "&#x..;" and
// "&#..;", and one root element, nested at most MaxXmlDepth deep.

bool XmlSpace(char c) { return isspace(static_cast<unsigned char>(c)) || c == '\n' || c == '\r'; }
bool XmlNameStart(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u < 127 ? isalpha(u) != 0 : true) || c == '_';
}
bool XmlNameChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u < 127 ? isalnum(u) != 0 : true) || c == '_' || c == '-' || c == '.' || c == ':';
}

class XmlShape {
public:
    explicit XmlShape(const char* text) : p(text) {}
    const char* fault = nullptr;
    const char* at = nullptr;

    bool Document() {
        SkipSpace();
        if (strncasecmp(p, "<?xml", 5) == 0 && !Declaration()) return false;
        int roots = 0;
        for (;;) {
            SkipSpace();
            if (!*p) break;
            if (*p != '<') return Fail("text after the document");
            if (strncmp(p, "<!--", 4) == 0) {
                if (!Comment()) return false;
                continue;
            }
            if (!XmlNameStart(p[1])) return Fail("unexpected markup");
            if (++roots > 1) return Fail("more than one root element");
            if (!Element(1)) return false;
        }
        return roots ? true : Fail("no root element");
    }

private:
    const char* p;

    bool Fail(const char* what) {
        fault = what;
        at = p;
        return false;
    }
    void SkipSpace() {
        while (*p && XmlSpace(*p)) ++p;
    }

    // One character of text or of an attribute value.
    bool Char() {
        if (p[0] != '&' || p[1] != '#') {
            ++p;
            return true;
        }
        const char* q = p + (p[2] == 'x' ? 3 : 2);
        const char* digits = q;
        while (p[2] == 'x' ? HexDigit(*q) >= 0 : AsciiDigit(*q)) ++q;
        if (q == digits || *q != ';') return Fail("bad character reference");
        p = q + 1;
        return true;
    }

    bool Attribute() {
        if (!XmlNameStart(*p)) return Fail("bad attribute");
        while (XmlNameChar(*p)) ++p;
        SkipSpace();
        if (*p != '=') return Fail("bad attribute");
        ++p;
        SkipSpace();
        if (*p != '"' && *p != '\'') return Fail("attribute value not quoted");
        char quote = *p++;
        while (*p != quote) {
            if (!*p) return Fail("unexpected end of file");
            if (!Char()) return false;
        }
        ++p;
        return true;
    }

    bool Declaration() {
        p += 5;
        for (;;) {
            SkipSpace();
            if (*p == '>') break;
            if (p[0] == '?' && p[1] == '>') {
                ++p;
                break;
            }
            if (!*p) return Fail("unexpected end of file");
            if (strncasecmp(p, "version", 7) && strncasecmp(p, "encoding", 8) && strncasecmp(p, "standalone", 10))
                return Fail("bad declaration");
            if (!Attribute()) return false;
        }
        ++p;
        return true;
    }

    bool Comment() {
        const char* end = strstr(p + 4, "-->");
        if (!end) return Fail("unterminated comment");
        p = end + 3;
        return true;
    }

    bool Element(int depth) {
        if (depth > MaxXmlDepth) return Fail("elements nested too deeply");
        const char* name = ++p;
        while (XmlNameChar(*p)) ++p;
        size_t nameLength = static_cast<size_t>(p - name);
        for (;;) {
            SkipSpace();
            if (!*p) return Fail("unexpected end of file");
            if (*p == '/') {
                if (p[1] != '>') return Fail("bad tag end");
                p += 2;
                return true;
            }
            if (*p == '>') break;
            if (!Attribute()) return false;
        }
        ++p;
        for (;;) {
            if (!*p) return Fail("unexpected end of file");
            if (*p != '<') {
                if (!Char()) return false;
                continue;
            }
            if (p[1] == '/') {
                if (strncmp(p + 2, name, nameLength) != 0) return Fail("mismatched end tag");
                p += 2 + nameLength;
                SkipSpace();
                if (*p != '>') return Fail("mismatched end tag");
                ++p;
                return true;
            }
            if (strncmp(p, "<!--", 4) == 0) {
                if (!Comment()) return false;
            } else if (XmlNameStart(p[1])) {
                if (!Element(depth + 1)) return false;
            } else {
                return Fail("unexpected markup");
            }
        }
    }
};

// ---- printing ----
// The library's layout (four spaces per level, "<a />" for empty elements),
// but '&' is always escaped: TinyXML writes "&#x" inside a value as it stands,
// which reads back as another value or makes the file unreadable.

void Escape(std::string& out, const char* text) {
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(text); *s; ++s) {
        switch (*s) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if (*s < 32) {
                char ref[8];
                snprintf(ref, sizeof ref, "&#x%02X;", *s);
                out += ref;
            } else {
                out += static_cast<char>(*s);
            }
        }
    }
}

class Printer : public TiXmlVisitor {
public:
    std::string out;

    bool Visit(const TiXmlDeclaration& d) override {
        Indent();
        out += "<?xml ";
        Field("version", d.Version());
        Field("encoding", d.Encoding());
        Field("standalone", d.Standalone());
        out += "?>\n";
        return true;
    }
    bool Visit(const TiXmlComment& c) override {
        Indent();
        out += "<!--";
        out += c.Value();
        out += "-->\n";
        return true;
    }
    bool Visit(const TiXmlText& t) override {
        if (!inlineText) Indent();
        Escape(out, t.Value());
        if (!inlineText) out += '\n';
        return true;
    }
    bool VisitEnter(const TiXmlElement& e, const TiXmlAttribute* a) override {
        Indent();
        out += '<';
        out += e.Value();
        for (; a; a = a->Next()) {
            char quote = strchr(a->Value(), '"') ? '\'' : '"';
            out += ' ';
            Escape(out, a->Name());
            out += '=';
            out += quote;
            Escape(out, a->Value());
            out += quote;
        }
        const TiXmlNode* first = e.FirstChild();
        if (!first) {
            out += " />\n";
        } else {
            out += '>';
            inlineText = first->ToText() && first == e.LastChild();
            if (!inlineText) out += '\n';
        }
        ++depth;
        return true;
    }
    bool VisitExit(const TiXmlElement& e) override {
        --depth;
        if (!e.FirstChild()) return true;
        if (inlineText) inlineText = false;
        else Indent();
        out += "</";
        out += e.Value();
        out += ">\n";
        return true;
    }

private:
    int depth = 0;
    bool inlineText = false;

    void Indent() {
        if (!inlineText) out.append(static_cast<size_t>(depth) * 4, ' ');
    }
    void Field(const char* name, const char* value) {
        if (!value || !*value) return;
        out += name;
        out += "=\"";
        Escape(out, value);
        out += "\" ";
    }
};

bool SaveDocument(const TiXmlDocument& doc, const char* fileName) {
    Printer printer;
    doc.Accept(&printer);
    // A failed write (full disk, unwritable directory) leaves the previous file as it was.
    int err = SaveFileAtomically(fileName, printer.out.data(), printer.out.size());
    if (err) TRACE_ERR("cannot write config file '%s': %s; the previous file is kept", fileName, strerror(err));
    return err == 0;
}

bool NameFits(const char* name, size_t capacity) { return name && strlen(name) < capacity; }

template <typename Take>
bool ReadItems(const TiXmlElement* array, int count, Take take) {
    if (!array) return false;
    int i = 0;
    for (const TiXmlElement* item = array->FirstChildElement("item"); item && i < count;
         item = item->NextSiblingElement("item"), ++i)
        take(i, item->Attribute("val"));
    return true;
}

void AddItem(TiXmlElement* array, const char* text) {
    TiXmlElement* item = new TiXmlElement("item");
    item->SetAttribute("val", text);
    array->LinkEndChild(item);
}

}  // namespace

// ======================= XmlConfig =======================

XmlConfig::XmlConfig(bool writable) : writable(writable) {}

XmlConfig::~XmlConfig() {
    if (writable) Sync();
}

bool XmlConfig::Load(const char* name) {
    if (!NameFits(name, sizeof fileName)) {
        TRACE_ERR("config file name missing or longer than %d characters", int(sizeof fileName - 1));
        return false;
    }
    std::string text;
    int err = ReadFileText(name, text);
    if (err == ENOENT) {
        if (!WriteDefault(name)) return false;
        err = ReadFileText(name, text);
    }
    if (err == NotRegularFile) return false;
    if (err) {
        TRACE_ERR("cannot read config file '%s': %s", name, strerror(err));
        return false;
    }
    return LoadText(text.data(), text.size(), name);
}

bool XmlConfig::LoadText(const char* data, size_t length, const char* name) {
    if (!NameFits(name, sizeof fileName)) {
        TRACE_ERR("config file name missing or longer than %d characters", int(sizeof fileName - 1));
        return false;
    }
    std::string text(data, length);
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const char* what = nullptr;
    int line = 0;
    auto parsed = std::make_unique<TiXmlDocument>(name);
    if (memchr(text.data(), '\0', text.size())) {
        what = "NUL byte in the text";
        line = LineOf(text.c_str(), text.c_str() + strlen(text.c_str()));
    } else {
        XmlShape shape(text.c_str() + start);
        if (!shape.Document()) {
            what = shape.fault;
            line = LineOf(text.c_str(), shape.at);
        } else {
            // Single-byte text: the toolkit's strings are in the fonts' code page.
            parsed->Parse(text.c_str() + start, nullptr, TIXML_ENCODING_LEGACY);
            if (parsed->Error() || !parsed->RootElement()) {
                what = parsed->Error() ? parsed->ErrorDesc() : "no root element";
                line = parsed->ErrorRow();
            }
        }
    }
    if (what) {
        TRACE_ERR("config file '%s' is damaged (line %d: %s); it is not used and left as it is", name, line,
                  what);
        return false;
    }
    doc = std::move(parsed);
    root = doc->RootElement();
    memmove(fileName, name, strlen(name) + 1);
    changed = true;
    return true;
}

bool XmlConfig::WriteDefault(const char* name) {
    if (!name) return false;
    {
        UniqueFile f(OpenStreamForReading(name));
        char line[80];
        if (f && fgets(line, sizeof line, f.get()) && strcmp(line, "<?xml version=\"1.0\"  standalone='yes' >\n") == 0)
            return true;
    }
    TiXmlDocument fresh(name);
    fresh.Parse(TinycfgDefaultText, nullptr, TIXML_ENCODING_LEGACY);
    return SaveDocument(fresh, name);
}

bool XmlConfig::Sync() {
    if (!writable || !changed || !doc) return true;
    if (!SaveDocument(*doc, fileName)) return false;
    changed = false;
    return true;
}

// Domain parts are names of elements: a letter or '_' first (the library
// cannot read an element whose name begins with a digit back).
TiXmlElement* XmlConfig::FindDomain(const char* domain) {
    if (!root || !domain) return root;
    std::string parts[MaxDomainParts];
    int count = 0;
    const char* p = domain;
    while (*p) {
        if (count == MaxDomainParts) return root;
        const char* start = p;
        while (AsciiLetter(*p) || AsciiDigit(*p) || *p == '_') ++p;
        size_t n = static_cast<size_t>(p - start);
        if (n == 0 || n > MaxDomainPart || AsciiDigit(*start)) {
            printf("Bad domain name '%s' for config variable!\a\n", domain);
            return root;
        }
        parts[count++].assign(start, n);
        if (*p == '.') ++p;
    }
    TiXmlElement* e = root;
    for (int i = 0; i < count; ++i) {
        TiXmlElement* child = e->FirstChildElement(parts[i].c_str());
        if (!child) child = e->LinkEndChild(new TiXmlElement(parts[i].c_str()))->ToElement();
        e = child;
    }
    return e;
}

namespace {

TiXmlElement* FindScalarIn(TiXmlElement* parent, const char* type, const char* name) {
    if (!parent || !name) return nullptr;
    for (TiXmlElement* e = parent->FirstChildElement(type); e; e = e->NextSiblingElement(type)) {
        const char* n = e->Attribute("name");
        if (n && strcmp(n, name) == 0 && e->Attribute("val")) return e;
    }
    return nullptr;
}

}  // namespace

TiXmlElement* XmlConfig::FindScalar(const char* type, const char* name, const char* domain) {
    return name ? FindScalarIn(FindDomain(domain), type, name) : nullptr;
}

const char* XmlConfig::ScalarText(const char* type, const char* name, const char* domain) {
    TiXmlElement* e = FindScalar(type, name, domain);
    return e ? e->Attribute("val") : nullptr;
}

// An array is the element of that name carrying "range"; scalars carry none.
TiXmlElement* XmlConfig::FindArray(TiXmlElement* parent, const char* type, const char* name) {
    if (!parent || !name) return nullptr;
    for (TiXmlElement* e = parent->FirstChildElement(type); e; e = e->NextSiblingElement(type)) {
        const char* n = e->Attribute("name");
        if (n && strcmp(n, name) == 0 && e->Attribute("range")) return e;
    }
    return nullptr;
}

TiXmlElement* XmlConfig::ArrayItems(const char* type, const char* name, const char* domain) {
    TiXmlElement* array = name ? FindArray(FindDomain(domain), type, name) : nullptr;
    int range = 0;
    if (!array || !ParseInt(array->Attribute("range"), &range, false) || range <= 0) return nullptr;
    return array;
}

void XmlConfig::SetScalar(const char* type, const char* name, const char* text, const char* domain,
                          int hexLength) {
    if (!name || !text) return;
    TiXmlElement* parent = FindDomain(domain);
    if (!parent) return;
    TiXmlElement* e = FindScalarIn(parent, type, name);
    if (e) {
        e->SetAttribute("val", text);
    } else {
        e = new TiXmlElement(type);
        e->SetAttribute("name", name);
        e->SetAttribute("val", text);
        if (hexLength >= 0) e->SetAttribute("len", hexLength);
        parent->LinkEndChild(e);
    }
    changed = true;
}

TiXmlElement* XmlConfig::NewArray(const char* type, const char* name, int count, const char* domain,
                                  int itemLength) {
    if (!name) return nullptr;
    TiXmlElement* parent = FindDomain(domain);
    if (!parent) return nullptr;
    if (TiXmlElement* old = FindArray(parent, type, name)) parent->RemoveChild(old);
    TiXmlElement* array = new TiXmlElement(type);
    array->SetAttribute("name", name);
    array->SetAttribute("range", count > 0 ? count : 0);
    if (itemLength >= 0) array->SetAttribute("len", itemLength);
    parent->LinkEndChild(array);
    changed = true;
    return array;
}

bool XmlConfig::GetBool(const char* name, bool* value, const char* domain) {
    const char* t = ScalarText("bool", name, domain);
    if (!t) return false;
    *value = strcmp(t, "false") != 0;
    return true;
}

bool XmlConfig::GetInt(const char* name, int* value, const char* domain) {
    const char* t = ScalarText("int", name, domain);
    return t && ParseInt(t, value, false);
}

bool XmlConfig::GetString(const char* name, char* value, int length, const char* domain) {
    const char* t = ScalarText("string", name, domain);
    if (!t) return false;
    CopyText(value, length, t);
    return true;
}

bool XmlConfig::GetDouble(const char* name, double* value, const char* domain) {
    const char* t = ScalarText("double", name, domain);
    return t && ParseDouble(t, value, false);
}

bool XmlConfig::GetHex(const char* name, unsigned char* value, int len, const char* domain) {
    TINYCFG_ASSERT(len <= MAX_HEX_LEN);
    const char* t = ScalarText("hex", name, domain);
    if (!t) return false;
    HexPairs(t, value, len);
    return true;
}

bool XmlConfig::GetBoolArray(const char* name, bool* values, int count, const char* domain) {
    return ReadItems(ArrayItems("bool", name, domain), count, [&](int i, const char* v) {
        values[i] = v && strcmp(v, "false") != 0;
    });
}

bool XmlConfig::GetIntArray(const char* name, int* values, int count, const char* domain) {
    return ReadItems(ArrayItems("int", name, domain), count, [&](int i, const char* v) {
        values[i] = 0;
        if (v) ParseInt(v, &values[i], false);
    });
}

bool XmlConfig::GetStringArray(const char* name, char* const* values, int length, int count,
                               const char* domain) {
    return ReadItems(ArrayItems("string", name, domain), count,
                     [&](int i, const char* v) { CopyText(values[i], length, v ? v : ""); });
}

bool XmlConfig::GetDoubleArray(const char* name, double* values, int count, const char* domain) {
    return ReadItems(ArrayItems("double", name, domain), count, [&](int i, const char* v) {
        values[i] = 0.0;
        if (v) ParseDouble(v, &values[i], false);
    });
}

bool XmlConfig::GetHexArray(const char* name, unsigned char* const* values, int length_of_item, int count,
                            const char* domain) {
    TINYCFG_ASSERT(length_of_item <= MAX_HEX_LEN);
    int n = length_of_item > 0 ? length_of_item : 0;
    return ReadItems(ArrayItems("hex", name, domain), count, [&](int i, const char* v) {
        memset(values[i], 0, static_cast<size_t>(n));
        if (v) HexPairs(v, values[i], n);
    });
}

void XmlConfig::SetBool(const char* name, bool value, const char* domain) {
    SetScalar("bool", name, BoolText(value), domain, -1);
}

void XmlConfig::SetInt(const char* name, int value, const char* domain) {
    char text[16];
    FormatInt(value, text, sizeof text);
    SetScalar("int", name, text, domain, -1);
}

void XmlConfig::SetString(const char* name, const char* value, const char* domain) {
    SetScalar("string", name, value, domain, -1);
}

void XmlConfig::SetDouble(const char* name, double value, const char* domain) {
    char text[32];
    FormatDouble(value, text, sizeof text);
    SetScalar("double", name, text, domain, -1);
}

void XmlConfig::SetHex(const char* name, const unsigned char* value, int len, const char* domain) {
    TINYCFG_ASSERT(len <= MAX_HEX_LEN);
    if (len < 0) len = 0;
    char text[2 * MAX_HEX_LEN + 1];
    HexText(value, len, text);
    SetScalar("hex", name, text, domain, len);
}

void XmlConfig::SetBoolArray(const char* name, const bool* values, int count, const char* domain) {
    TiXmlElement* array = NewArray("bool", name, count, domain, -1);
    for (int i = 0; array && i < count; ++i) AddItem(array, BoolText(values[i]));
}

void XmlConfig::SetIntArray(const char* name, const int* values, int count, const char* domain) {
    TiXmlElement* array = NewArray("int", name, count, domain, -1);
    char text[16];
    for (int i = 0; array && i < count; ++i) {
        FormatInt(values[i], text, sizeof text);
        AddItem(array, text);
    }
}

void XmlConfig::SetStringArray(const char* name, const char* const* values, int count, const char* domain) {
    TiXmlElement* array = NewArray("string", name, count, domain, -1);
    for (int i = 0; array && i < count; ++i) AddItem(array, values[i] ? values[i] : "");
}

void XmlConfig::SetDoubleArray(const char* name, const double* values, int count, const char* domain) {
    TiXmlElement* array = NewArray("double", name, count, domain, -1);
    char text[32];
    for (int i = 0; array && i < count; ++i) {
        FormatDouble(values[i], text, sizeof text);
        AddItem(array, text);
    }
}

void XmlConfig::SetHexArray(const char* name, const unsigned char* const* values, int length_of_item, int count,
                            const char* domain) {
    TINYCFG_ASSERT(length_of_item <= MAX_HEX_LEN);
    if (length_of_item < 0) length_of_item = 0;
    TiXmlElement* array = NewArray("hex", name, count, domain, length_of_item);
    char text[2 * MAX_HEX_LEN + 1];
    for (int i = 0; array && i < count; ++i) {
        HexText(values[i], length_of_item, text);
        AddItem(array, text);
    }
}

// ======================= Config =======================

namespace {

// A file in the older text form becomes XML: its items are kept beside it as
// "<name>.orig" first, and the XML replaces it in one step. A damaged text or
// a backup that cannot be written leaves the file untouched.
void ConvertOldConfig(const char* fileName) {
    struct stat st;
    if (stat(fileName, &st) != 0 || !S_ISREG(st.st_mode)) return;  // the XML load says what it is
    OldConfig old(false);
    if (old.Read(fileName) != TINYCFG_OK) return;
    std::string orig = std::string(fileName) + ".orig";
    if (!old.WriteTo(orig.c_str())) {
        TRACE_ERR("config file '%s' is not converted: its text cannot be kept in '%s'", fileName, orig.c_str());
        return;
    }
    XmlConfig converted(true);
    if (!converted.LoadText(TinycfgDefaultText, strlen(TinycfgDefaultText), fileName)) return;
    old.CopyTo(converted);
    converted.Sync();
}

}  // namespace

Config::Config(const char* fileName, bool writable) : xml(new XmlConfig(writable)) {
    if (fileName) ConvertOldConfig(fileName);
    xml->Load(fileName);
}

Config::~Config() = default;

bool Config::Load(const char* fileName) { return xml->Load(fileName); }
bool Config::Sync() { return xml->Sync(); }
bool Config::GetBool(const char* n, bool* v, const char* d) { return xml->GetBool(n, v, d); }
bool Config::GetInt(const char* n, int* v, const char* d) { return xml->GetInt(n, v, d); }
bool Config::GetString(const char* n, char* v, int l, const char* d) { return xml->GetString(n, v, l, d); }
bool Config::GetDouble(const char* n, double* v, const char* d) { return xml->GetDouble(n, v, d); }
bool Config::GetHex(const char* n, unsigned char* v, int l, const char* d) { return xml->GetHex(n, v, l, d); }
bool Config::GetBoolArray(const char* n, bool* v, int c, const char* d) { return xml->GetBoolArray(n, v, c, d); }
bool Config::GetIntArray(const char* n, int* v, int c, const char* d) { return xml->GetIntArray(n, v, c, d); }
bool Config::GetStringArray(const char* n, char* const* v, int l, int c, const char* d) {
    return xml->GetStringArray(n, v, l, c, d);
}
bool Config::GetDoubleArray(const char* n, double* v, int c, const char* d) {
    return xml->GetDoubleArray(n, v, c, d);
}
bool Config::GetHexArray(const char* n, unsigned char* const* v, int l, int c, const char* d) {
    return xml->GetHexArray(n, v, l, c, d);
}
void Config::SetBool(const char* n, bool v, const char* d) { xml->SetBool(n, v, d); }
void Config::SetInt(const char* n, int v, const char* d) { xml->SetInt(n, v, d); }
void Config::SetString(const char* n, const char* v, const char* d) { xml->SetString(n, v, d); }
void Config::SetDouble(const char* n, double v, const char* d) { xml->SetDouble(n, v, d); }
void Config::SetHex(const char* n, const unsigned char* v, int l, const char* d) { xml->SetHex(n, v, l, d); }
void Config::SetBoolArray(const char* n, const bool* v, int c, const char* d) { xml->SetBoolArray(n, v, c, d); }
void Config::SetIntArray(const char* n, const int* v, int c, const char* d) { xml->SetIntArray(n, v, c, d); }
void Config::SetStringArray(const char* n, const char* const* v, int c, const char* d) {
    xml->SetStringArray(n, v, c, d);
}
void Config::SetDoubleArray(const char* n, const double* v, int c, const char* d) {
    xml->SetDoubleArray(n, v, c, d);
}
void Config::SetHexArray(const char* n, const unsigned char* const* v, int l, int c, const char* d) {
    xml->SetHexArray(n, v, l, c, d);
}

// ======================= OldConfig =======================

namespace {

constexpr size_t OldLineMax = 359;
constexpr int OldStringMax = 127;
constexpr int OldHexMax = 128;
constexpr size_t OldCommentMax = 128;
constexpr size_t OldNameMax = 32;

// One line without its line end; null when taken, otherwise what is wrong.
// Values sit at fixed columns: name padded to 32, type letter in column 33,
// value from column 35 (a quoted value's text from column 36).
const char* ParseOldLine(const char* line, size_t n, OldConfigItem& item) {
    if (!(AsciiLetter(line[0]) || line[0] == '_')) {
        if (n > OldCommentMax) return "comment longer than 128 characters";
        item.type = 'c';
        memcpy(item.comment, line, n);
        item.comment[n] = '\0';
        return nullptr;
    }
    size_t nameLength = 0;
    while (nameLength < n && line[nameLength] != ' ') ++nameLength;
    if (nameLength > OldNameMax) return "name longer than 32 characters";
    if (n < 36) return "value missing (line cut short?)";
    for (size_t i = nameLength; i < 32; ++i)
        if (line[i] != ' ') return "type letter not in column 33";
    if (line[32] != ' ' || line[34] != ' ') return "type letter not in column 33";
    memcpy(item.name, line, nameLength);
    item.name[nameLength] = '\0';
    item.type = line[33];
    const char* v = line + 35;
    switch (item.type) {
    case 'b':
        item.boolValue = strcmp(v, "no") != 0;
        return nullptr;
    case 'i':
        return ParseInt(v, &item.intValue, true) ? nullptr : "bad integer";
    case 'd':
        return ParseDouble(v, &item.doubleValue, true) ? nullptr : "bad number";
    case 'h': {
        if (*v != '"') return "hex value not quoted";
        const char* h = v + 1;
        size_t digits = 0;
        while (HexDigit(h[digits]) >= 0) ++digits;
        if (digits / 2 > OldHexMax) return "hex value longer than 128 bytes";
        item.hexLength = HexPairs(h, item.hexValue, OldHexMax);
        const char* end = h + 2 * item.hexLength;
        if (*end != '"' || !OnlySpaces(end + 1)) return "hex value not closed (line cut short?)";
        return nullptr;
    }
    case 's': {
        if (*v != '"') return "string not quoted";
        // The last quote closes: a string may hold quotes itself.
        const char* close = strrchr(v + 1, '"');
        if (!close) return "string not closed (line cut short?)";
        if (!OnlySpaces(close + 1)) return "text after the string";
        size_t length = static_cast<size_t>(close - (v + 1));
        if (length > OldStringMax) return "string longer than 127 characters";
        memcpy(item.stringValue, v + 1, length);
        item.stringValue[length] = '\0';
        return nullptr;
    }
    default:
        return "unknown type letter";
    }
}

}  // namespace

OldConfig::OldConfig(bool writable) : writable(writable) {}

bool OldConfig::Load(const char* name) { return Read(name) == TINYCFG_OK; }

int OldConfig::Read(const char* name) {
    if (!NameFits(name, sizeof fileName)) return TINYCFG_ERR_NAME;
    std::string text;
    if (ReadFileText(name, text) != 0) return TINYCFG_ERR_OPEN;
    int result = Parse(text.data(), text.size());
    if (result == TINYCFG_ERR_DAMAGED)
        TRACE_ERR("config file '%s' in the old text form is damaged (line %d: %s); it is not converted and "
                  "left as it is",
                  name, faultLine, fault);
    if (result == TINYCFG_OK) {
        memmove(fileName, name, strlen(name) + 1);
        changed = false;
    }
    return result;
}

int OldConfig::Parse(const char* data, size_t length) {
    items.clear();
    fault = nullptr;
    faultLine = 0;
    size_t pos = 0;
    for (int line = 1; pos < length; ++line) {
        const char* s = data + pos;
        size_t rest = length - pos;
        const char* newline = static_cast<const char*>(memchr(s, '\n', rest));
        size_t n = newline ? static_cast<size_t>(newline - s) : rest;
        size_t bom = line == 1 && n >= 3 && memcmp(s, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
        if (n - bom >= 5 && memcmp(s + bom, "<?xml", 5) == 0) return TINYCFG_ERR_XML;
        faultLine = line;
        // Every line is written with its end: a last line without one was cut.
        if (!newline) fault = "last line cut short";
        pos += n + 1;
        if (n > 0 && s[n - 1] == '\r') --n;
        if (!fault && n > OldLineMax) fault = "line longer than 359 characters";
        if (!fault && memchr(s, '\0', n)) fault = "NUL byte in the text";
        if (!fault && static_cast<int>(items.size()) >= MaxItems) fault = "more than 512 items";
        OldConfigItem item = {};
        if (!fault) {
            std::string text(s, n);
            fault = ParseOldLine(text.c_str(), n, item);
        }
        if (fault) {
            items.clear();
            return TINYCFG_ERR_DAMAGED;
        }
        items.push_back(item);
    }
    return TINYCFG_OK;
}

bool OldConfig::WriteTo(const char* name) const {
    std::string out;
    char text[512];
    CNumbers c;
    for (const OldConfigItem& item : items) {
        char hex[2 * OldHexMax + 1];
        switch (item.type) {
        case 'c': snprintf(text, sizeof text, "%s\n", item.comment); break;
        case 'b': snprintf(text, sizeof text, "%-32s %c %s\n", item.name, 'b', item.boolValue ? "yes" : "no"); break;
        case 'i': snprintf(text, sizeof text, "%-32s %c %d\n", item.name, 'i', item.intValue); break;
        case 'd': snprintf(text, sizeof text, "%-32s %c %f\n", item.name, 'd', item.doubleValue); break;
        case 's': snprintf(text, sizeof text, "%-32s %c \"%s\"\n", item.name, 's', item.stringValue); break;
        case 'h':
            HexText(item.hexValue, item.hexLength, hex);
            snprintf(text, sizeof text, "%-32s %c \"%s\"\n", item.name, 'h', hex);
            break;
        default: text[0] = '\0';
        }
        out += text;
    }
    int err = name ? SaveFileAtomically(name, out.data(), out.size()) : EINVAL;
    if (err) {
        errno = err;
        perror("OldConfig::Sync() ");
    }
    return err == 0;
}

bool OldConfig::Sync() {
    if (!writable || !changed) return true;
    if (!WriteTo(fileName)) return false;
    changed = false;
    return true;
}

void OldConfig::CopyTo(ConfigInterface& target) const {
    for (const OldConfigItem& item : items) {
        switch (item.type) {
        case 'b': target.SetBool(item.name, item.boolValue, nullptr); break;
        case 'i': target.SetInt(item.name, item.intValue, nullptr); break;
        case 'd': target.SetDouble(item.name, item.doubleValue, nullptr); break;
        case 's': target.SetString(item.name, item.stringValue, nullptr); break;
        case 'h': target.SetHex(item.name, item.hexValue, item.hexLength, nullptr); break;
        default: break;
        }
    }
}

const OldConfigItem* OldConfig::Find(const char* name, char type) const {
    if (!name) return nullptr;
    for (const OldConfigItem& item : items)
        if (item.type == type && strcmp(item.name, name) == 0) return &item;
    return nullptr;
}

OldConfigItem* OldConfig::Slot(const char* name, char type) {
    if (!name || strlen(name) > OldNameMax || strchr(name, ' ') || !(AsciiLetter(name[0]) || name[0] == '_'))
        return nullptr;
    if (const OldConfigItem* found = Find(name, type)) return const_cast<OldConfigItem*>(found);
    if (static_cast<int>(items.size()) >= MaxItems) return nullptr;
    OldConfigItem item = {};
    item.type = type;
    memcpy(item.name, name, strlen(name) + 1);
    items.push_back(item);
    changed = true;
    return &items.back();
}

bool OldConfig::GetBool(const char* name, bool* value, const char*) {
    const OldConfigItem* item = Find(name, 'b');
    if (item) *value = item->boolValue;
    return item != nullptr;
}

bool OldConfig::GetInt(const char* name, int* value, const char*) {
    const OldConfigItem* item = Find(name, 'i');
    if (item) *value = item->intValue;
    return item != nullptr;
}

bool OldConfig::GetString(const char* name, char* value, int length, const char*) {
    const OldConfigItem* item = Find(name, 's');
    if (item) CopyText(value, length, item->stringValue);
    return item != nullptr;
}

bool OldConfig::GetDouble(const char* name, double* value, const char*) {
    const OldConfigItem* item = Find(name, 'd');
    if (item) *value = item->doubleValue;
    return item != nullptr;
}

bool OldConfig::GetHex(const char* name, unsigned char* value, int len, const char*) {
    TINYCFG_ASSERT(len <= MAX_HEX_LEN);
    const OldConfigItem* item = Find(name, 'h');
    if (item && len > 0) memcpy(value, item->hexValue, static_cast<size_t>(std::min(len, item->hexLength)));
    return item != nullptr;
}

bool OldConfig::GetBoolArray(const char*, bool*, int, const char*) { return false; }
bool OldConfig::GetIntArray(const char*, int*, int, const char*) { return false; }
bool OldConfig::GetStringArray(const char*, char* const*, int, int, const char*) { return false; }
bool OldConfig::GetDoubleArray(const char*, double*, int, const char*) { return false; }
bool OldConfig::GetHexArray(const char*, unsigned char* const*, int, int, const char*) { return false; }

void OldConfig::SetBool(const char* name, bool value, const char*) {
    if (OldConfigItem* item = Slot(name, 'b')) item->boolValue = value, changed = true;
}

void OldConfig::SetInt(const char* name, int value, const char*) {
    if (OldConfigItem* item = Slot(name, 'i')) item->intValue = value, changed = true;
}

void OldConfig::SetString(const char* name, const char* value, const char*) {
    if (!value || strlen(value) > OldStringMax || strchr(value, '\n')) return;
    if (OldConfigItem* item = Slot(name, 's')) memcpy(item->stringValue, value, strlen(value) + 1), changed = true;
}

void OldConfig::SetDouble(const char* name, double value, const char*) {
    if (OldConfigItem* item = Slot(name, 'd')) item->doubleValue = value, changed = true;
}

void OldConfig::SetHex(const char* name, const unsigned char* value, int len, const char*) {
    TINYCFG_ASSERT(len <= MAX_HEX_LEN);
    if (len < 0 || len > OldHexMax) return;
    if (OldConfigItem* item = Slot(name, 'h')) {
        memcpy(item->hexValue, value, static_cast<size_t>(len));
        item->hexLength = len;
        changed = true;
    }
}

void OldConfig::SetBoolArray(const char*, const bool*, int, const char*) {}
void OldConfig::SetIntArray(const char*, const int*, int, const char*) {}
void OldConfig::SetStringArray(const char*, const char* const*, int, const char*) {}
void OldConfig::SetDoubleArray(const char*, const double*, int, const char*) {}
void OldConfig::SetHexArray(const char*, const unsigned char* const*, int, int, const char*) {}
