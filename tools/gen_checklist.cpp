// Writes checklist.dat and checklist.bck into the run folder given: a short checklist for
// each item of the checklist menu, for a light aircraft with a four-cylinder engine, so
// that the menu opens something on a fresh install. A checklist.dat already there (one the
// user imported) is left as it is. The file is written through the settings store, with a
// fixed time, so that every build writes the same bytes.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "configmanager.h"
#include "configsetting.h"
#include "settingvars.h"
#include "trace.h"

namespace {

constexpr uint32_t WrittenAt = 1704067200;  // 2024-01-01 00:00 UTC
constexpr uint16_t HeaderSection = 0x3000, FirstList = 0x3001;
const char* const Title = "Sample checklists";

// In the order of the sections 0x3001..0x3008: Preflight Check, Before Start Engine,
// Starting Engine, Engine runup, Before take off, Landing, After landing, Shut Down.
// The box splits a line at its first ';': the item at the left, the action flush right.
const char* const Lists[ChecklistCount][ChecklistLines] = {
    {"Documents;ON BOARD", "Ignition A and B;OFF", "Master switch;ON", "Fuel quantity;CHECK", "Master switch;OFF",
     "Fuel drains;NO WATER", "Oil and coolant;CHECK LEVEL", "Propeller and spinner;CHECK",
     "Control surfaces;FREE, CORRECT", "Tyres and brakes;CHECK", "Pitot cover;REMOVED"},
    {"Preflight inspection;DONE", "Seats and belts;ADJUSTED, LOCKED", "Canopy;CLOSED, LOCKED", "Parking brake;SET",
     "Circuit breakers;IN", "Avionics;OFF", "Fuel valve;OPEN", "Flight controls;FREE"},
    {"Master switch;ON", "Fuel pump;ON", "Choke;AS REQUIRED", "Throttle;IDLE", "Propeller area;CLEAR",
     "Ignition A and B;ON", "Starter;ENGAGE", "Oil pressure;WITHIN 10 SEC", "Choke;OFF", "Avionics;ON"},
    {"Parking brake;SET", "Oil temperature;ABOVE 50\xB0" "C", "Throttle;4000 RPM", "Ignition A;MAX DROP 300 RPM",
     "Ignition B;MAX DROP 300 RPM", "Difference A-B;MAX 120 RPM", "Carburettor heat;CHECK",
     "Engine instruments;IN GREEN", "Throttle;IDLE"},
    {"Flaps;TAKE OFF", "Trim;NEUTRAL", "Fuel valve;OPEN", "Fuel pump;ON", "Fuel quantity;SUFFICIENT",
     "Flight controls;FREE, CORRECT", "Canopy;LOCKED", "Transponder;ALT", "Lights;ON"},
    {"Fuel pump;ON", "Fuel valve;OPEN", "Carburettor heat;AS REQUIRED", "Approach speed;ESTABLISHED",
     "Flaps;LANDING", "Brakes;CHECK", "Harness;TIGHT"},
    {"Flaps;UP", "Fuel pump;OFF", "Trim;NEUTRAL", "Transponder;STANDBY", "Lights;AS REQUIRED"},
    {"Engine;1 MIN AT IDLE", "Avionics;OFF", "Ignition A and B;OFF", "Master switch;OFF", "Fuel valve;CLOSED",
     "Parking brake;SET", "Pitot cover;FITTED"},
};

bool Store(TConfigSetting& store, uint16_t SSID, uint16_t Par, const void* data, uint16_t length) {
    SetupSectPacket head{};
    head.SSID = SSID;
    head.Par = Par;
    head.length = length;
    head.time = WrittenAt;
    return store.SetSectionNEW(&head, static_cast<const uint8_t*>(data), 0) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: gen_checklist <run directory>\n");
        return 2;
    }
    const std::string prefix = std::string(argv[1]) + "/";
    if (access((prefix + "checklist.dat").c_str(), F_OK) == 0) return 0;

    // The store's start-up lines are no news in a build log; its errors are.
    PrintHook = [](const char* text) {
        if (strstr(text, "Error: ")) fputs(text, stderr);
    };
    TConfigSetting store;
    store.SetClock([] { return WrittenAt; });
    // Loading no kind only marks the store loaded: nothing is read from the folder.
    bool ok = store.LoadConfig(prefix.c_str(), 0, 0) == 0;
    TChecklistHeader header{};
    snprintf(header.title, sizeof header.title, "%s", Title);
    ok = ok && Store(store, HeaderSection, 0, &header, sizeof header);  // two zero words: no byte order
    for (int list = 0; list < ChecklistCount && ok; ++list)
        for (int line = 0; line < ChecklistLines && ok; ++line) {
            char text[ChecklistLineSize] = {};
            if (Lists[list][line]) snprintf(text, sizeof text, "%s", Lists[list][line]);
            ok = Store(store, static_cast<uint16_t>(FirstList + list), static_cast<uint16_t>(line), text, sizeof text);
        }
    ok = ok && store.SaveConfig(prefix.c_str(), KindChecklist) == 0;
    if (!ok) {
        fprintf(stderr, "gen_checklist: cannot write %schecklist.dat\n", prefix.c_str());
        return 1;
    }
    return 0;
}
