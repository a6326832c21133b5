#include "bonhost_options.h"

const char BonhostUsage[] =
    "usage: bonhost [options] DRIVER.dll\n"
    "Loads a tuner driver as a host application does (LoadLibrary, CreateBonDriver), reports\n"
    "its interface level and, from IBonDriver2 on, its tuner name, opens it and pulls its\n"
    "stream (WaitTsStream, then GetTsStream) for a while. Then CloseTuner, Release, FreeLibrary.\n"
    "  -s, --seconds N     pull for N seconds (1 to 86400; default 10)\n"
    "  -c, --channel S,C   SetChannel(S, C) after opening (SetChannel(C) below IBonDriver2)\n"
    "      --copy          GetTsStream(BYTE*) into bonhost's own 1 MiB buffer instead of\n"
    "                      GetTsStream(BYTE**)\n"
    "      --until-false   stop at the first GetTsStream that returns FALSE\n"
    "  -o, --save FILE     write every byte received to FILE\n"
    "  -h, --help          this text\n"
    "Standard output, one item a line:\n"
    "  driver: PATH\n"
    "  interface: IBonDriver | IBonDriver2 | IBonDriver3\n"
    "  tuner: NAME                                    (IBonDriver2 and IBonDriver3)\n"
    "  progress: second=N chunks=N bytes=N empty=N false=N      (each second's own counts)\n"
    "  summary: ms=N chunks=N bytes=N empty=N false=N end=time|false\n"
    "chunks counts TRUE results with data, empty TRUE results with 0 bytes, false FALSE\n"
    "results; end tells whether the time ran out or --until-false stopped the run.\n"
    "Exit status: 0 after a run; 1 when the driver cannot be loaded, created, opened or\n"
    "tuned or FILE cannot be written (one line on standard error); 2 for a usage error.\n";

namespace {

bool Is(const WCHAR* argument, const WCHAR* shortName, const WCHAR* longName) {
    return (shortName && lstrcmpW(argument, shortName) == 0) || lstrcmpW(argument, longName) == 0;
}

// Decimal digits up to `end` (or the NUL) only, at most `max`.
bool ReadNumber(const WCHAR* text, const WCHAR* end, DWORD max, DWORD& value) {
    if (text == end || !*text)
        return false;
    unsigned long long number = 0;
    for (; text != end && *text; ++text) {
        if (*text < L'0' || *text > L'9')
            return false;
        number = number * 10 + (*text - L'0');
        if (number > max)
            return false;
    }
    value = DWORD(number);
    return true;
}

bool ReadChannel(const WCHAR* text, BonhostOptions& options) {
    const WCHAR* comma = text;
    while (*comma && *comma != L',')
        ++comma;
    return *comma && ReadNumber(text, comma, MAXDWORD, options.Space) &&
           ReadNumber(comma + 1, nullptr, MAXDWORD, options.Channel);
}

// The option at argv[i] and, for those that take one, its value at argv[i + 1].
ParseResult ReadOption(int argc, WCHAR** argv, int& i, BonhostOptions& options) {
    const WCHAR* option = argv[i];
    if (Is(option, L"-h", L"--help"))
        return ParseResult::Help;
    if (Is(option, nullptr, L"--copy")) {
        options.CopyOverload = true;
        return ParseResult::Run;
    }
    if (Is(option, nullptr, L"--until-false")) {
        options.UntilFalse = true;
        return ParseResult::Run;
    }
    if (i + 1 >= argc)
        return ParseResult::Bad;
    const WCHAR* value = argv[++i];
    if (Is(option, L"-s", L"--seconds"))
        return ReadNumber(value, nullptr, BonhostOptions::MaxSeconds, options.Seconds) &&
               options.Seconds > 0 ? ParseResult::Run : ParseResult::Bad;
    if (Is(option, L"-c", L"--channel")) {
        options.HasChannel = true;
        return ReadChannel(value, options) ? ParseResult::Run : ParseResult::Bad;
    }
    if (Is(option, L"-o", L"--save")) {
        options.SavePath = value;
        return ParseResult::Run;
    }
    return ParseResult::Bad;
}

}  // namespace

ParseResult ParseOptions(int argc, WCHAR** argv, BonhostOptions& options) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != L'-') {
            if (options.DriverPath)
                return ParseResult::Bad;
            options.DriverPath = argv[i];
            continue;
        }
        const ParseResult result = ReadOption(argc, argv, i, options);
        if (result != ParseResult::Run)
            return result;
    }
    return options.DriverPath ? ParseResult::Run : ParseResult::Bad;
}
