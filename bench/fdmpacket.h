// The flight simulator's native flight-dynamics packet: 408 bytes, big-endian
// on the wire, and its host-order form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bebytes.h"

constexpr uint32_t FdmPacketSize = 408;
constexpr uint32_t FdmMaxEngines = 4;
constexpr uint32_t FdmMaxTanks = 4;
constexpr uint32_t FdmMaxWheels = 3;

struct FdmNetPacket {
    BEU32 version;
    uint8_t padding[4];
    BEDouble longitude, latitude, altitude;  // radians, radians, metres
    BEFloat agl, phi, theta, psi, alpha, beta, phidot, thetadot, psidot, vcas, climb_rate, v_north, v_east,
        v_down, v_wind_body_north, v_wind_body_east, v_wind_body_down, A_X_pilot, A_Y_pilot, A_Z_pilot,
        stall_warning, slip_deg;
    BEU32 num_engines;
    BEU32 eng_state[FdmMaxEngines];
    BEFloat rpm[FdmMaxEngines], fuel_flow[FdmMaxEngines], fuel_px[FdmMaxEngines], egt[FdmMaxEngines],
        cht[FdmMaxEngines], mp_osi[FdmMaxEngines], tit[FdmMaxEngines], oil_temp[FdmMaxEngines],
        oil_px[FdmMaxEngines];
    BEU32 num_tanks;
    BEFloat fuel_quantity[FdmMaxTanks];
    BEU32 num_wheels;
    BEU32 wow[FdmMaxWheels];
    BEFloat gear_pos[FdmMaxWheels], gear_steer[FdmMaxWheels], gear_compression[FdmMaxWheels];
    BEU32 cur_time;
    BEWord<uint32_t> warp;  // signed on the wire
    BEFloat visibility, elevator, elevator_trim_tab, left_flap, right_flap, left_aileron, right_aileron, rudder,
        nose_wheel, speedbrake, spoilers;
};
static_assert(sizeof(FdmNetPacket) == FdmPacketSize, "FDM packet layout");
static_assert(offsetof(FdmNetPacket, longitude) == 8 && offsetof(FdmNetPacket, agl) == 32 &&
                  offsetof(FdmNetPacket, num_engines) == 120 && offsetof(FdmNetPacket, rpm) == 140 &&
                  offsetof(FdmNetPacket, num_tanks) == 284 && offsetof(FdmNetPacket, num_wheels) == 304 &&
                  offsetof(FdmNetPacket, gear_pos) == 320 && offsetof(FdmNetPacket, cur_time) == 356 &&
                  offsetof(FdmNetPacket, visibility) == 364,
              "FDM packet layout");

// Host-order packet. Entries beyond the packet's own counts are zero.
struct TFdmPacket {
    uint32_t version;
    double longitude, latitude, altitude;
    float agl, phi, theta, psi, alpha, beta, phidot, thetadot, psidot, vcas, climb_rate, v_north, v_east, v_down,
        v_wind_body_north, v_wind_body_east, v_wind_body_down, A_X_pilot, A_Y_pilot, A_Z_pilot, stall_warning,
        slip_deg;
    uint32_t num_engines;  // as received; at most FdmMaxEngines entries are taken
    uint32_t eng_state[FdmMaxEngines];
    float rpm[FdmMaxEngines], fuel_flow[FdmMaxEngines], fuel_px[FdmMaxEngines], egt[FdmMaxEngines],
        cht[FdmMaxEngines], mp_osi[FdmMaxEngines], tit[FdmMaxEngines], oil_temp[FdmMaxEngines],
        oil_px[FdmMaxEngines];
    uint32_t num_tanks;
    float fuel_quantity[FdmMaxTanks];
    uint32_t num_wheels;
    uint32_t wow[FdmMaxWheels];
    float gear_pos[FdmMaxWheels], gear_steer[FdmMaxWheels], gear_compression[FdmMaxWheels];
    uint32_t cur_time;
    int32_t warp;
    float visibility, elevator, elevator_trim_tab, left_flap, right_flap, left_aileron, right_aileron, rudder,
        nose_wheel, speedbrake, spoilers;
};

// Entries a count allows, never beyond the layout.
inline uint32_t FdmTaken(uint32_t count, uint32_t max) { return count < max ? count : max; }

// Converts a wire packet to host order: 0, or -1 when fewer than 408 bytes are given.
int FdmConvert(const uint8_t* wire, size_t length, TFdmPacket& out);
