// The project's own DLLs as the MSVC-ABI trees build them (QUELLAP_BUILD_ROOT/msvc-x86 and
// msvc-x64), and crafted variants of their bytes.
#pragma once

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "file_store.h"

// Empty when that tree is not built.
inline FileBytes BuiltImage(const std::string& tree, const std::string& path)
{
    FileBytes bytes;
    FILE* file = fopen((std::string(QUELLAP_BUILD_ROOT) + "/" + tree + "/" + path).c_str(), "rb");
    if (!file) return bytes;
    for (int c; (c = fgetc(file)) != EOF;) bytes.push_back(uint8_t(c));
    fclose(file);
    return bytes;
}

inline FileBytes BuiltWrapper(const std::string& arch)
{
    return BuiltImage("msvc-" + arch, "driver/BonDriver_Quellap.dll");
}

inline FileBytes BuiltFileDriver(const std::string& arch)
{
    return BuiltImage("msvc-" + arch, "tools/tsfile_driver/BonDriver_TsFile.dll");
}

// The first place of `pattern` in `bytes`, or bytes.size().
inline size_t Find(const FileBytes& bytes, const char* pattern, size_t length)
{
    const uint8_t* start = reinterpret_cast<const uint8_t*>(pattern);
    return size_t(std::search(bytes.begin(), bytes.end(), start, start + length) - bytes.begin());
}

// The same image exporting "CreateBonDriveX" instead of "CreateBonDriver".
inline FileBytes WithoutDriverExport(FileBytes bytes)
{
    const size_t at = Find(bytes, "CreateBonDriver", 16);
    if (at < bytes.size()) bytes[at + 14] = 'X';
    return bytes;
}

// The same image whose version resource gives `major` as its version's first number.
inline FileBytes WithMajorVersion(FileBytes bytes, uint16_t major)
{
    const size_t at = Find(bytes, "\xBD\x04\xEF\xFE", 4);  // the fixed part's signature
    if (at < bytes.size()) memcpy(&bytes[at + 10], &major, 2);
    return bytes;
}
