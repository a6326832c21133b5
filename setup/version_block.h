// The version resource's block (VS_VERSIONINFO) read from a file's bytes: the fixed file version
// and two strings of its first string table.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

#include "pe_image.h"

struct VersionBlock {
    FileVersion fileVersion;
    std::wstring productName;  // UTF-16 code units, one per character here
    std::wstring originalFilename;
};

// False when the block is cut, malformed or lacks the fixed part; `info` is reset first. A
// missing string stays empty.
bool ReadVersionBlock(const uint8_t* block, size_t size, VersionBlock& info);
