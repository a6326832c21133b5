// The bundled sample stream: three stretches of a few seconds each, in 188-, 192- and 204-byte
// packets, with a TDT every second, a TOT every five seconds, payload and null packets between
// them, and a captured TOT packet spliced into the first stretch.
#pragma once

#include "ts_packet_writer.h"

// `capturedTot` is one 188-byte packet; it follows the TDT of the second it carries.
Bytes GenerateSampleStream(const Bytes& capturedTot);

// One stretch of 188-byte packets like the sample's first, `seconds` long from `start` on,
// without a captured packet: a stream that carries a time of one's choosing (the present, say).
Bytes GenerateTimeStream(const UtcTime& start, int seconds);
