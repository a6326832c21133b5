// What the reader finds in real and crafted files: the project's wrappers and file drivers of
// both machines, a driver without the export, cut files and files that are no image at all.
#include <gtest/gtest.h>

#include <functional>

#include "built_images.h"
#include "pe_image.h"
#include "quellap_version.h"

namespace {

const FileVersion ProjectVersion = {
    {QUELLAP_VERSION_MAJOR, QUELLAP_VERSION_MINOR, QUELLAP_VERSION_PATCH, 0}};

struct ImageCase {
    const char* name;
    std::function<FileBytes()> bytes;
    ImageVerdict verdict;
    uint16_t machine;  // of an image
    bool driver;
    bool wrapper;
};

FileBytes Cut(FileBytes bytes, size_t size)
{
    bytes.resize(std::min(size, bytes.size()));
    return bytes;
}

TEST(PeImageTest, FactsOfRealAndCraftedFiles)
{
    if (BuiltWrapper("x86").empty() || BuiltWrapper("x64").empty() ||
        BuiltFileDriver("x86").empty() || BuiltFileDriver("x64").empty()) {
        GTEST_SKIP() << "the MSVC-ABI trees are not built under " << QUELLAP_BUILD_ROOT;
    }
    const auto wrapper86 = [] { return BuiltWrapper("x86"); };
    const auto cut = [&](size_t size) { return [=] { return Cut(wrapper86(), size); }; };
    const size_t size = wrapper86().size();
    const ImageVerdict image = ImageVerdict::Image, damaged = ImageVerdict::Damaged,
                       none = ImageVerdict::NotImage;
    const ImageCase cases[] = {
        {"x86 wrapper", wrapper86, image, MachineX86, true, true},
        {"x64 wrapper", [] { return BuiltWrapper("x64"); }, image, MachineX64, true, true},
        {"x86 driver", [] { return BuiltFileDriver("x86"); }, image, MachineX86, true, false},
        {"x64 driver", [] { return BuiltFileDriver("x64"); }, image, MachineX64, true, false},
        {"no export", [] { return WithoutDriverExport(BuiltFileDriver("x64")); }, image,
         MachineX64, false, false},
        {"cut in the DOS header", cut(40), damaged, 0, false, false},
        {"cut in the PE header", cut(0x90), damaged, 0, false, false},
        {"cut by half", cut(size / 2), damaged, 0, false, false},
        {"one byte short", cut(size - 1), damaged, 0, false, false},
        {"empty", [] { return FileBytes(); }, none, 0, false, false},
        {"text", [] { return FileBytes{'[', 'T', 's', 'F', 'i', 'l', 'e', ']'}; }, none, 0, false,
         false},
        {"DOS program",
         [] {
             FileBytes bytes(128, 0);
             bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 64;  // no "PE" where it points
             return bytes;
         },
         none, 0, false, false},
    };
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FileBytes bytes = c.bytes();
        ImageFacts facts;
        EXPECT_EQ(c.verdict, ReadImageFacts(bytes.data(), bytes.size(), facts));
        if (c.verdict != ImageVerdict::Image) continue;
        EXPECT_EQ(c.machine, facts.machine);
        EXPECT_EQ(c.driver, IsTunerDriver(facts));
        EXPECT_EQ(c.wrapper, facts.isWrapper);
        EXPECT_TRUE(facts.version == (c.wrapper ? ProjectVersion : FileVersion{}));
    }
}

TEST(PeImageTest, TheVersionIsReadFromTheResource)
{
    const FileBytes bytes = WithMajorVersion(BuiltWrapper("x64"), 7);
    if (bytes.empty()) GTEST_SKIP() << "the msvc-x64 tree is not built";
    ImageFacts facts;
    ASSERT_EQ(ImageVerdict::Image, ReadImageFacts(bytes.data(), bytes.size(), facts));
    EXPECT_TRUE(facts.isWrapper);
    EXPECT_EQ(7, facts.version.part[0]);
    EXPECT_EQ(QUELLAP_VERSION_MINOR, facts.version.part[1]);
}

}  // namespace
