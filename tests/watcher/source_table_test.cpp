#include "source_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

uint64_t FileTimeOf(const SourceRecord& record)
{
    return (static_cast<uint64_t>(record.fileTime.dwHighDateTime) << 32) |
           record.fileTime.dwLowDateTime;
}

TEST(BroadcastRecordTest, SecondsSince1970BecomeAFileTime)
{
    SourceTable table;
    int32_t count = 0;
    StoreBroadcast(table, count, 0, 1234);
    const SourceRecord& record = table.at(BroadcastKey);
    EXPECT_EQ(116444736000000000u, FileTimeOf(record));
    EXPECT_EQ(1234u, record.tick);
    EXPECT_FALSE(record.trusted);
    EXPECT_EQ(L"<Broadcast0>", std::wstring(record.name));
    EXPECT_EQ(L"<Unknown>", std::wstring(record.modulePath));

    StoreBroadcast(table, count, 946684800, 1);
    EXPECT_EQ(125911584000000000u, FileTimeOf(table.at(BroadcastKey)));  // 2000-01-01
    StoreBroadcast(table, count, -1, 1);
    EXPECT_EQ(116444735990000000u, FileTimeOf(table.at(BroadcastKey)));
    StoreBroadcast(table, count, INT32_MIN, 1);
    EXPECT_EQ(static_cast<uint64_t>((11644473600 - 2147483648LL) * 10000000),
              FileTimeOf(table.at(BroadcastKey)));
}

TEST(BroadcastRecordTest, OneSharedEntryNamedByTheCount)
{
    SourceTable table;
    table[0x40] = SourceRecord{};
    int32_t count = 0;
    for (int i = 0; i < 12; ++i) StoreBroadcast(table, count, 1000 + i, static_cast<DWORD>(i));
    EXPECT_EQ(12, count);
    ASSERT_EQ(2u, table.size());
    EXPECT_EQ(BroadcastKey, table.begin()->first) << "the broadcast entry comes first";
    EXPECT_EQ(L"<Broadcast11>", std::wstring(table.begin()->second.name));
    EXPECT_EQ(11u, table.begin()->second.tick);

    count = INT32_MAX;
    StoreBroadcast(table, count, 0, 0);
    EXPECT_EQ(L"<Broadcast2147483647>", std::wstring(table.at(BroadcastKey).name));
    EXPECT_EQ(INT32_MIN, count) << "the counter wraps instead of overflowing";
}

}  // namespace
