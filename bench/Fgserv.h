// The flight-dynamics server: the simulator connects to us and sends one
// 408-byte packet per frame; each packet is converted and stored into channels.
#pragma once

#include <atomic>
#include <cstdint>

#include "fdmpacket.h"

constexpr uint16_t FdmServerPort = 5511;
constexpr uint16_t PropServerPort = 5501;
constexpr int FdmMaxSockets = 64;  // the listening socket included

// The packet layout read here; a packet of another version is reported with this message
// (version found, version expected) and its client dropped.
constexpr uint32_t FdmVersion = 24;
inline constexpr char MsgFdmVersion[] = "FlightGear FDM packet version %d, expected %d";
// The version word of a packet's first four bytes.
inline uint32_t FdmPacketVersion(const uint8_t* wire) {
    return uint32_t(wire[0]) << 24 | uint32_t(wire[1]) << 16 | uint32_t(wire[2]) << 8 | wire[3];
}

// Ports of the data-source thread (tests choose free ones): the FDM server listens on every
// local address, the property client connects to this machine.
struct TMeassurePorts {
    uint16_t fdm = FdmServerPort;
    uint16_t props = PropServerPort;
};

// Kept for the life of the program, across data-source threads.
struct TFdmTotals {
    int32_t EngineTime;   // distinct wall-clock seconds in which packets arrived
    int64_t LastSecond;   // the last of them
    double FuelAtStart;   // fuel at the first packet; FuelNotKnown before it
};
constexpr double FuelNotKnown = -9999;
extern TFdmTotals FdmTotals;
extern TFdmPacket LastFdmPacket;

// Every field of a converted packet, one console line each.
void PrintFdmPacket(const TFdmPacket& p);
// Stores the channels of one packet; n is the packet counter, nowSec the wall-clock second.
void StoreFdmPacket(const TFdmPacket& p, uint32_t n, int64_t nowSec);
// Serves until *terminate is set; the property client runs alongside.
void FdmServer(const TMeassurePorts& ports, const std::atomic<bool>* terminate);
