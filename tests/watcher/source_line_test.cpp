#include "source_line.h"

#include <gtest/gtest.h>

#include <string>

#include "filetime.h"

namespace {

constexpr DWORD NowTick = 5000000;
constexpr int64_t Msec = 10000;  // FILETIME units

uint64_t NowValue()
{
    FILETIME now;
    CalendarToFileTime(SYSTEMTIME{2026, 12, 0, 8, 12, 0, 0, 0}, now);
    return static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

FILETIME FileTimeOf(uint64_t value)
{
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

struct LineCase {
    const char* what;
    uint32_t key;
    DWORD age;              // ms before NowTick
    int64_t offsetUnits;    // estimated broadcast time minus now, 100 ns
    bool trusted;
    std::wstring name;
    std::wstring path;
    std::wstring expected;
};

std::wstring Line(const LineCase& c, DWORD nowTick = NowTick)
{
    SourceRecord record{};
    record.tick = nowTick - c.age;
    record.fileTime = FileTimeOf(NowValue() + c.offsetUnits - int64_t(c.age) * Msec);
    record.trusted = c.trusted;
    CopySourceName(record, c.name.c_str(), static_cast<DWORD>(c.name.size()));
    c.path.copy(record.modulePath, ModulePathSize - 1);
    WCHAR line[SourceLineSize];
    FormatSourceLine(c.key, record, nowTick, FileTimeOf(NowValue()), line);
    return line;
}

TEST(SourceLineTest, ColumnsClampsAndCuts)
{
    const std::wstring longName(70, L'n');
    const std::wstring longPath(300, L'p');
    const LineCase cases[] = {
        {"broadcast entry", 0, 0, 0, false, L"<Broadcast0>", L"<Unknown>",
         L"00000000     0 2026-12-08T12:00:00 +0      <Broadcast0> <Unknown>\n"},
        {"old source: age capped, offset from the full age", 0x1234abcd, 123456, 1500 * Msec, true,
         L"BonDriver_A", L"C:\\TV\\Viewer.exe",
         L"1234abcd 99999 2026-12-08T12:00:01 +1500  *BonDriver_A C:\\TV\\Viewer.exe\n"},
        {"offset below the range", 0x10, 20, -123456 * Msec, true, L"A", L"p",
         L"00000010    20 2026-12-08T11:57:56 -99999 *A p\n"},
        {"offset above the range", 0x10, 20, 100000 * Msec, false, L"A", L"p",
         L"00000010    20 2026-12-08T12:01:40 +99999  A p\n"},
        {"small negative offset", 0xffffffff, 1, -42 * Msec, false, L"A", L"p",
         L"ffffffff     1 2026-12-08T11:59:59 -42     A p\n"},
        {"offsets truncate towards zero", 0x10, 0, -19999, false, L"A", L"p",
         L"00000010     0 2026-12-08T11:59:59 -1      A p\n"},
        {"under a millisecond behind shows +0", 0x10, 0, -9999, false, L"A", L"p",
         L"00000010     0 2026-12-08T11:59:59 +0      A p\n"},
        {"name and path cut", 0x10, 0, 0, false, longName, longPath,
         L"00000010     0 2026-12-08T12:00:00 +0      " + std::wstring(63, L'n') + L" " +
             std::wstring(260, L'p') + L"\n"},
    };
    for (const LineCase& c : cases) EXPECT_EQ(c.expected, Line(c)) << c.what;
}

TEST(SourceLineTest, UnconvertibleTimeAndTickWrap)
{
    SourceRecord record{};
    record.tick = 0xFFFFFF00;  // received 512 ms before the tick count wrapped to 0x100
    record.fileTime = FileTimeOf(0x8000000000000000 - 512 * Msec);
    CopySourceName(record, L"A", 1);
    WCHAR line[SourceLineSize];
    FormatSourceLine(0x10, record, 0x100, FileTimeOf(NowValue()), line);
    EXPECT_EQ(std::wstring(L"00000010   512 0000-00-00T00:00:00 +99999  A \n"), line)
        << "a time with the top bit set has no calendar date";
}

}  // namespace
