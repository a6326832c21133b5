// The project's own DLLs as the MSVC-ABI trees build them (under QUELLAP_BUILD_ROOT), and
// crafted variants of their bytes.
#pragma once

#include <string.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "file_store.h"

// Empty when that tree is not built. `what`: "wrapper" or "tsfile" (the file driver).
inline FileBytes BuiltImage(const std::string& what, const std::string& arch)
{
    const std::string path = what == "wrapper" ? "driver/BonDriver_Quellap.dll"
                                              : "tools/tsfile_driver/BonDriver_TsFile.dll";
    std::ifstream file(std::string(QUELLAP_BUILD_ROOT) + "/msvc-" + arch + "/" + path,
                       std::ios::binary);
    return FileBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// `image` with `count` bytes at `offset` from the first place of `pattern` replaced.
inline FileBytes Patched(FileBytes image, const std::string& pattern, size_t offset,
                         const void* bytes, size_t count)
{
    const auto at = std::search(image.begin(), image.end(), pattern.begin(), pattern.end(),
                                [](uint8_t a, char b) { return a == uint8_t(b); });
    if (at != image.end()) memcpy(&*at + offset, bytes, count);
    return image;
}

// The same image exporting "CreateBonDriveX" instead of "CreateBonDriver".
inline FileBytes WithoutDriverExport(const FileBytes& image)
{
    return Patched(image, std::string("CreateBonDriver", 16), 14, "X", 1);
}

// The same image whose version resource gives `major` as its version's first number.
inline FileBytes WithMajorVersion(const FileBytes& image, uint16_t major)
{
    return Patched(image, "\xBD\x04\xEF\xFE", 10, &major, 2);  // the fixed part's signature
}

// The same image as a program: its DLL flag cleared.
inline FileBytes AsProgram(FileBytes image)
{
    image[image[0x3C] + 4 + 19] &= ~0x20;  // the file header's characteristics, high byte
    return image;
}
