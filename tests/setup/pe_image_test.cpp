// What the reader finds in real and crafted files: the project's wrappers and file drivers of
// both machines, a driver without the export, cut files and files that are no image at all.
#include <gtest/gtest.h>

#include "built_images.h"
#include "pe_image.h"
#include "quellap_version.h"

namespace {

FileBytes Cut(FileBytes bytes, size_t size)
{
    bytes.resize(size);
    return bytes;
}

TEST(PeImageTest, FactsOfRealAndCraftedFiles)
{
    const FileBytes wrapper86 = BuiltImage("wrapper", "x86"), wrapper64 = BuiltImage("wrapper", "x64");
    const FileBytes driver86 = BuiltImage("tsfile", "x86"), driver64 = BuiltImage("tsfile", "x64");
    if (wrapper86.empty() || wrapper64.empty() || driver86.empty() || driver64.empty()) {
        GTEST_SKIP() << "the MSVC-ABI trees are not built under " << QUELLAP_BUILD_ROOT;
    }
    FileBytes dos(128, 0);
    dos[0] = 'M', dos[1] = 'Z', dos[0x3C] = 64;  // no "PE" where it points
    const ImageVerdict image = ImageVerdict::Image, damaged = ImageVerdict::Damaged,
                       none = ImageVerdict::NotImage;
    const struct {
        const char* name;
        FileBytes bytes;
        ImageVerdict verdict;
        uint16_t machine;  // of an image
        bool driver;
        bool wrapper;
    } cases[] = {
        {"x86 wrapper", wrapper86, image, MachineX86, true, true},
        {"x64 wrapper", wrapper64, image, MachineX64, true, true},
        {"x86 driver", driver86, image, MachineX86, true, false},
        {"x64 driver", driver64, image, MachineX64, true, false},
        {"no export", WithoutDriverExport(driver64), image, MachineX64, false, false},
        {"cut in the DOS header", Cut(wrapper86, 40), damaged, 0, false, false},
        {"cut in the PE header", Cut(wrapper86, 0x90), damaged, 0, false, false},
        {"one byte short", Cut(wrapper86, wrapper86.size() - 1), damaged, 0, false, false},
        {"empty", {}, none, 0, false, false},
        {"text", {'[', 'T', 's', 'F', 'i', 'l', 'e', ']'}, none, 0, false, false},
        {"DOS program", dos, none, 0, false, false},
    };
    const FileVersion project = {
        {QUELLAP_VERSION_MAJOR, QUELLAP_VERSION_MINOR, QUELLAP_VERSION_PATCH, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImageFacts facts;
        EXPECT_EQ(c.verdict, ReadImageFacts(c.bytes.data(), c.bytes.size(), facts));
        if (c.verdict != ImageVerdict::Image) continue;
        EXPECT_EQ(c.machine, facts.machine);
        EXPECT_EQ(c.driver, IsTunerDriver(facts));
        EXPECT_EQ(c.wrapper, facts.isWrapper);
        EXPECT_TRUE(facts.version == (c.wrapper ? project : FileVersion{}));
    }
}

}  // namespace
