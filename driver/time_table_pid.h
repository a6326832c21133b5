// The PID that carries the TDT and TOT. Nearly every packet of a stream is on another one, so
// the framing tests it before handing a packet over, and ProcessPacket tests it first.
#pragma once

#include <stdint.h>
#include <string.h>

// Header bytes 1 and 2 hold the PID in their low 13 bits. Both bytes are compared at once, in
// whatever byte order the machine has.
inline bool IsTimeTablePid(const uint8_t* packet) {
    static const uint8_t maskBytes[2] = {0x1F, 0xFF};
    static const uint8_t pidBytes[2] = {0x00, 0x14};
    uint16_t header, mask, pid;
    memcpy(&header, packet + 1, 2);
    memcpy(&mask, maskBytes, 2);
    memcpy(&pid, pidBytes, 2);
    return (uint32_t(header) & uint32_t(mask)) == uint32_t(pid);
}
