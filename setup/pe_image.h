// What QuellapSetup learns from a DLL's bytes without loading it: its machine, whether it is a
// tuner driver (a DLL exporting "CreateBonDriver") and whether it is one of our wrappers (its
// version resource names our product and the wrapper's original file name), and which version.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum : uint16_t {
    MachineX86 = 0x014C,
    MachineX64 = 0x8664,
};

// A version resource's file version: four numbers, the first one highest.
struct FileVersion {
    uint16_t part[4];
};

bool operator==(const FileVersion& a, const FileVersion& b);
inline bool operator!=(const FileVersion& a, const FileVersion& b)
{
    return !(a == b);
}

enum class ImageVerdict {
    NotImage,  // not a Windows image at all
    Damaged,   // starts as one, but its headers or data are cut or point outside the file
    Image,
};

struct ImageFacts {
    uint16_t machine;
    bool isDll;
    bool exportsCreateBonDriver;
    bool isWrapper;       // the version resource is our wrapper's
    FileVersion version;  // the wrapper's version (zeros for other files)
};

inline bool IsTunerDriver(const ImageFacts& facts)
{
    return facts.isDll && facts.exportsCreateBonDriver;
}

// Reads the facts from a whole file's bytes; `facts` is reset first.
ImageVerdict ReadImageFacts(const uint8_t* bytes, size_t size, ImageFacts& facts);
