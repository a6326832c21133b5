#include "pe_image.h"

#include <string.h>

#include "version_block.h"
#include "wrapper_files.h"

namespace {

constexpr size_t DosHeaderSize = 64;
constexpr size_t FileHeaderSize = 20;
constexpr size_t SectionHeaderSize = 40;
constexpr uint16_t DllCharacteristic = 0x2000;
constexpr uint16_t Pe32Magic = 0x10B, Pe32PlusMagic = 0x20B;
constexpr uint32_t ExportDirectory = 0, ResourceDirectory = 2;
constexpr uint32_t VersionResourceType = 16;
constexpr uint32_t HighBit = 0x80000000;
const char DriverExport[] = "CreateBonDriver";
constexpr uint32_t MaxExportNames = 1u << 20;  // keeps the table's size within 32 bits

uint16_t Word(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Dword(const uint8_t* p)
{
    return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16;
}

bool EqualsNoCase(const std::wstring& text, const wchar_t* expected)
{
    size_t i = 0;
    for (; i < text.size() && expected[i] != 0; ++i) {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + 32 : c; };
        if (lower(text[i]) != lower(expected[i])) return false;
    }
    return i == text.size() && expected[i] == 0;
}

// The file's sections, through which the data directories' addresses (RVAs) are read.
class ImageView {
public:
    ImageView(const uint8_t* bytes, size_t size) : Bytes(bytes), Size(size) {}

    // The headers from the PE signature on: Damaged or NotImage as soon as one is wrong.
    ImageVerdict ReadHeaders(ImageFacts& facts)
    {
        if (Size < 2 || Bytes[0] != 'M' || Bytes[1] != 'Z') return ImageVerdict::NotImage;
        if (Size < DosHeaderSize) return ImageVerdict::Damaged;
        const size_t pe = Dword(Bytes + 0x3C);
        if (pe > Size || Size - pe < 4 + FileHeaderSize) return ImageVerdict::Damaged;
        // An MS-DOS program without a Windows part.
        if (memcmp(Bytes + pe, "PE\0\0", 4) != 0) return ImageVerdict::NotImage;
        const uint8_t* header = Bytes + pe + 4;
        facts.machine = Word(header);
        facts.isDll = (Word(header + 18) & DllCharacteristic) != 0;
        SectionCount = Word(header + 2);
        const size_t optional = pe + 4 + FileHeaderSize;
        const size_t optionalSize = Word(header + 16);
        Sections = optional + optionalSize;
        if (Sections > Size || (Size - Sections) / SectionHeaderSize < SectionCount) {
            return ImageVerdict::Damaged;
        }
        return ReadDirectories(optional, optionalSize) && SectionsInFile() ? ImageVerdict::Image
                                                                            : ImageVerdict::Damaged;
    }

    // `length` bytes at `rva`, all inside one section's data; null when they are not.
    const uint8_t* At(uint32_t rva, size_t length) const
    {
        for (size_t i = 0; i < SectionCount; ++i) {
            const uint8_t* section = Bytes + Sections + i * SectionHeaderSize;
            const uint32_t start = Dword(section + 12), rawSize = Dword(section + 16);
            if (rva < start || rva - start >= rawSize) continue;
            if (length > rawSize - (rva - start)) return nullptr;
            return Bytes + Dword(section + 20) + (rva - start);
        }
        return nullptr;
    }

    // NUL-terminated text at `rva` equal to `text`.
    bool TextAt(uint32_t rva, const char* text) const
    {
        const uint8_t* found = At(rva, strlen(text) + 1);
        return found && memcmp(found, text, strlen(text) + 1) == 0;
    }

    uint32_t DirectoryRva[3] = {};
    uint32_t DirectorySize[3] = {};

private:
    bool ReadDirectories(size_t optional, size_t optionalSize)
    {
        if (optionalSize < 2) return false;
        const uint16_t magic = Word(Bytes + optional);
        if (magic != Pe32Magic && magic != Pe32PlusMagic) return false;
        const size_t countAt = magic == Pe32Magic ? 92 : 108;
        if (optionalSize < countAt + 4) return false;
        const uint32_t count = Dword(Bytes + optional + countAt);
        for (uint32_t i = 0; i < 3 && i < count; ++i) {
            const size_t entry = countAt + 4 + i * 8;
            if (entry + 8 > optionalSize) return false;
            DirectoryRva[i] = Dword(Bytes + optional + entry);
            DirectorySize[i] = Dword(Bytes + optional + entry + 4);
        }
        return true;
    }

    // A file cut short (an interrupted download or copy) loses the end of some section.
    bool SectionsInFile() const
    {
        for (size_t i = 0; i < SectionCount; ++i) {
            const uint8_t* section = Bytes + Sections + i * SectionHeaderSize;
            const uint64_t end = uint64_t(Dword(section + 20)) + Dword(section + 16);
            if (end > Size) return false;
        }
        return true;
    }

    const uint8_t* Bytes;
    size_t Size;
    size_t Sections = 0;
    size_t SectionCount = 0;
};

// Whether the export directory names "CreateBonDriver"; false in `valid` when it is malformed.
bool ExportsDriverEntry(const ImageView& image, bool& valid)
{
    valid = true;
    if (image.DirectorySize[ExportDirectory] == 0) return false;
    const uint8_t* directory = image.At(image.DirectoryRva[ExportDirectory], 40);
    if (!directory) return valid = false;
    const uint32_t count = Dword(directory + 24);
    if (count > MaxExportNames) return valid = false;
    const uint8_t* names = image.At(Dword(directory + 32), size_t(count) * 4);
    if (count > 0 && !names) return valid = false;
    for (uint32_t i = 0; i < count; ++i) {
        if (image.TextAt(Dword(names + i * 4), DriverExport)) return true;
    }
    return false;
}

// The resource directory entry of `id`, or the first entry when `id` is 0; its OffsetToData.
bool FindResourceEntry(const ImageView& image, uint32_t directory, uint32_t id, uint32_t& entryData)
{
    const uint32_t base = image.DirectoryRva[ResourceDirectory];
    const uint8_t* header = image.At(base + directory, 16);
    if (!header) return false;
    const uint32_t count = uint32_t(Word(header + 12)) + Word(header + 14);
    const uint8_t* entries = image.At(base + directory + 16, size_t(count) * 8);
    if (!entries) return false;
    for (uint32_t i = 0; i < count; ++i) {
        if (id == 0 || Dword(entries + i * 8) == id) {
            entryData = Dword(entries + i * 8 + 4);
            return true;
        }
    }
    return false;
}

// The version block: type RT_VERSION, its first name, its first language.
bool ReadVersion(const ImageView& image, VersionBlock& info)
{
    if (image.DirectorySize[ResourceDirectory] == 0) return false;
    uint32_t names = 0, languages = 0, data = 0;
    if (!FindResourceEntry(image, 0, VersionResourceType, names) || !(names & HighBit) ||
        !FindResourceEntry(image, names & ~HighBit, 0, languages) || !(languages & HighBit) ||
        !FindResourceEntry(image, languages & ~HighBit, 0, data) || (data & HighBit)) {
        return false;
    }
    const uint8_t* entry = image.At(image.DirectoryRva[ResourceDirectory] + data, 16);
    if (!entry) return false;
    const uint32_t size = Dword(entry + 4);
    const uint8_t* block = image.At(Dword(entry), size);
    return block && ReadVersionBlock(block, size, info);
}

}  // namespace

bool operator==(const FileVersion& a, const FileVersion& b)
{
    return memcmp(a.part, b.part, sizeof a.part) == 0;
}

ImageVerdict ReadImageFacts(const uint8_t* bytes, size_t size, ImageFacts& facts)
{
    facts = ImageFacts{};
    ImageView image(bytes, size);
    const ImageVerdict verdict = image.ReadHeaders(facts);
    if (verdict != ImageVerdict::Image) return verdict;
    bool exportsValid = true;
    facts.exportsCreateBonDriver = ExportsDriverEntry(image, exportsValid);
    if (!exportsValid) return ImageVerdict::Damaged;
    VersionBlock version;
    if (ReadVersion(image, version) && version.productName == ProductName &&
        EqualsNoCase(version.originalFilename, WrapperFileName)) {
        facts.isWrapper = true;
        facts.version = version.fileVersion;
    }
    return ImageVerdict::Image;
}
