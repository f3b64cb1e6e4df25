// Arbitrary bytes as a configuration file, in both forms: the XML loader and
// the older text form with its conversion, then every kind of read and write.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "hkutils.h"
#include "tinycfg.h"

namespace {

void Quiet(const char*) {}

void Exercise(ConfigInterface& c) {
    const char* names[] = {"default_videomode", "x", "s", "h", "a"};
    const char* domains[] = {nullptr, "a", "a.b", "a..b"};
    for (const char* d : domains) {
        for (const char* n : names) {
            bool b = false;
            int i = 0;
            double f = 0;
            char s[8];
            unsigned char h[8];
            c.GetBool(n, &b, d);
            c.GetInt(n, &i, d);
            c.GetDouble(n, &f, d);
            c.GetString(n, s, sizeof s, d);
            c.GetHex(n, h, sizeof h, d);
            bool ba[3];
            int ia[3];
            double da[3];
            char s0[4], s1[4], s2[4];
            char* sa[] = {s0, s1, s2};
            unsigned char h0[2], h1[2], h2[2];
            unsigned char* ha[] = {h0, h1, h2};
            c.GetBoolArray(n, ba, 3, d);
            c.GetIntArray(n, ia, 3, d);
            c.GetDoubleArray(n, da, 3, d);
            c.GetStringArray(n, sa, sizeof s0, 3, d);
            c.GetHexArray(n, ha, sizeof h0, 3, d);
        }
    }
    const int ia[2] = {1, 2};
    c.SetInt("x", 1, "a.b");
    c.SetIntArray("x", ia, 2, "a");
    c.SetString("s", "&#x41;", nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrintHook = Quiet;
    static FILE* discard = freopen("/dev/null", "w", stdout);  // bad-domain lines
    (void)discard;
    const char* text = reinterpret_cast<const char*>(data);

    XmlConfig xml(false);
    if (xml.LoadText(text, size, "fuzz.rc")) Exercise(xml);

    OldConfig old(false);
    if (old.Parse(text, size) == TINYCFG_OK) {
        Exercise(old);
        XmlConfig converted(false);
        if (converted.LoadText(TinycfgDefaultText, strlen(TinycfgDefaultText), "fuzz.rc")) {
            old.CopyTo(converted);
            Exercise(converted);
        }
    }
    return 0;
}
