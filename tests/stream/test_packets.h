// Transport packets and streams built for the framing and decoder tests.
#pragma once

#include <stdint.h>

#include <algorithm>
#include <random>
#include <vector>

typedef std::vector<uint8_t> Bytes;

// Header and section fields of one packet; the defaults give a valid TDT on PID 0x0014 with
// UTC_time C0 79 12 45 00 (1993-10-13 12:45:00).
struct PacketLayout {
    int size = 188;
    int pid = 0x0014;
    bool transportError = false;
    bool unitStart = true;
    int scrambling = 0;
    int adaptationControl = 1;  // 1 payload only, 2 adaptation only, 3 both
    int adaptationLength = 0;   // used when adaptationControl is 2 or 3
    int pointer = 0;
    uint8_t tableId = 0x70;
    uint8_t utcTime[5] = {0xC0, 0x79, 0x12, 0x45, 0x00};
};

Bytes BuildPacket(const PacketLayout& layout);

// Offset of the table_id byte from the packet start, for the given layout.
int SectionOffset(const PacketLayout& layout);

// A packet numbered `index`: a TDT whose time is `index` seconds after 1995-10-10 00:00:00
// (MJD 50000), so that a stored sample tells which packet was examined.
Bytes IndexedPacket(int size, int index);
// The packet number carried by a sample's FILETIME (100-ns units since 1601).
int IndexOfFileTime(uint64_t fileTime);

// `prefix` random bytes without 0x47, then `count` indexed packets of `size` bytes whose bytes
// after the section are random (0x47 included). Only every `timeEvery`-th packet is on PID
// 0x0014; the others are the same packets on PID 0x1FFF.
Bytes IndexedStream(int size, int prefix, int count, std::mt19937& random, int timeEvery = 1);

// Random chunk sizes summing to `total`, with plenty of empty, 1-byte and >4096-byte chunks.
std::vector<size_t> RandomChunks(size_t total, std::mt19937& random);
