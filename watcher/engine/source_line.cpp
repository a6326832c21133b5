#include "source_line.h"

#include "filetime.h"

namespace {

constexpr uint64_t FileTimeUnitsPerMsec = 10000;

// Appends fields to a line whose buffer is known to be large enough.
class LineWriter {
public:
    explicit LineWriter(WCHAR* out) : Out(out), Length(0) {}

    void Char(WCHAR c) { Out[Length++] = c; }

    void Text(const WCHAR* text, DWORD limit)
    {
        for (DWORD i = 0; i < limit && text[i] != 0; ++i) Char(text[i]);
    }

    void Hex8(uint32_t value)
    {
        static const WCHAR Digits[] = L"0123456789abcdef";
        for (int shift = 28; shift >= 0; shift -= 4) Char(Digits[(value >> shift) & 0xF]);
    }

    // At least `width` places, filled in front with `fill`, or behind with spaces when
    // `leftAligned`.
    void Decimal(uint32_t value, int width, WCHAR fill, bool leftAligned = false)
    {
        WCHAR digits[10];
        int count = 0;
        do {
            digits[count++] = static_cast<WCHAR>(L'0' + value % 10);
            value /= 10;
        } while (value != 0);
        if (!leftAligned) Pad(width - count, fill);
        for (int i = count - 1; i >= 0; --i) Char(digits[i]);
        if (leftAligned) Pad(width - count, L' ');
    }

    void End() { Out[Length] = 0; }

private:
    void Pad(int count, WCHAR fill)
    {
        for (; count > 0; --count) Char(fill);
    }

    WCHAR* Out;
    DWORD Length;
};

void WriteCalendar(LineWriter& line, const FILETIME& time)
{
    SYSTEMTIME calendar{};
    if (!FileTimeToSystemTime(&time, &calendar)) calendar = SYSTEMTIME{};
    line.Decimal(calendar.wYear, 4, L'0');
    line.Char(L'-');
    line.Decimal(calendar.wMonth, 2, L'0');
    line.Char(L'-');
    line.Decimal(calendar.wDay, 2, L'0');
    line.Char(L'T');
    line.Decimal(calendar.wHour, 2, L'0');
    line.Char(L':');
    line.Decimal(calendar.wMinute, 2, L'0');
    line.Char(L':');
    line.Decimal(calendar.wSecond, 2, L'0');
}

uint32_t Magnitude(int64_t value)
{
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
    return magnitude < ShownLimit ? static_cast<uint32_t>(magnitude) : ShownLimit;
}

}  // namespace

void FormatSourceLine(uint32_t key, const SourceRecord& record, DWORD nowTick,
                      const FILETIME& now, WCHAR (&line)[SourceLineSize])
{
    const DWORD age = nowTick - record.tick;  // modulo 2^32: survives the wrap
    const uint64_t estimate = FileTimeValue(record.fileTime) + age * FileTimeUnitsPerMsec;
    // Truncated towards zero; positive when the broadcast clock is ahead of the local one.
    const int64_t offset =
        static_cast<int64_t>(estimate - FileTimeValue(now)) / static_cast<int64_t>(FileTimeUnitsPerMsec);
    const FILETIME estimated = {static_cast<DWORD>(estimate), static_cast<DWORD>(estimate >> 32)};

    LineWriter out(line);
    out.Hex8(key);
    out.Char(L' ');
    out.Decimal(age < ShownLimit ? age : ShownLimit, 5, L' ');
    out.Char(L' ');
    WriteCalendar(out, estimated);
    out.Char(L' ');
    out.Char(offset < 0 ? L'-' : L'+');
    out.Decimal(Magnitude(offset), 5, L' ', true);
    out.Char(L' ');
    out.Char(record.trusted ? L'*' : L' ');
    out.Text(record.name, SourceNameSize - 1);
    out.Char(L' ');
    out.Text(record.modulePath, ShownModulePathLength);
    out.Char(L'\n');
    out.End();
}
