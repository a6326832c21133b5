#include "setup_options.h"

namespace {

bool ReadVerb(const std::wstring& word, Verb& verb)
{
    static const struct {
        const wchar_t* name;
        Verb verb;
    } Verbs[] = {{L"status", Verb::Status}, {L"wrap", Verb::Wrap}, {L"unwrap", Verb::Unwrap},
                 {L"update", Verb::Update}};
    for (const auto& known : Verbs) {
        if (word == known.name) {
            verb = known.verb;
            return true;
        }
    }
    return false;
}

// After "service": the verb, then the program for install.
bool ReadServiceVerb(const std::vector<std::wstring>& words, SetupOptions& options)
{
    static const struct {
        const wchar_t* name;
        ServiceVerb verb;
        size_t paths;  // at most
    } Verbs[] = {{L"install", ServiceVerb::Install, 1}, {L"status", ServiceVerb::Status, 0},
                 {L"uninstall", ServiceVerb::Uninstall, 0}};
    for (const auto& known : Verbs) {
        if (words.empty() || words[0] != known.name) continue;
        options.service = known.verb;
        options.paths.assign(words.begin() + 1, words.end());
        return options.paths.size() <= known.paths;
    }
    return false;
}

}  // namespace

bool ParseSetupOptions(const std::vector<std::wstring>& arguments, SetupOptions& options)
{
    options = SetupOptions{};
    size_t i = 0;
    for (; i < arguments.size() && arguments[i].compare(0, 2, L"--") == 0; ++i) {
        const std::wstring& option = arguments[i];
        if (option == L"--help") {
            options.help = true;
            return arguments.size() == 1;
        }
        if (i + 1 == arguments.size()) return false;
        const std::wstring& value = arguments[++i];
        if (option == L"--from" && !value.empty()) {
            options.from = value;
        } else if (option == L"--lang" && (value == L"en" || value == L"ja")) {
            options.language = value == L"en" ? Language::English : Language::Japanese;
        } else {
            return false;
        }
    }
    if (i < arguments.size() && arguments[i] == L"service") {
        return ReadServiceVerb({arguments.begin() + i + 1, arguments.end()}, options);
    }
    if (i < arguments.size() && ReadVerb(arguments[i], options.verb)) ++i;
    options.paths.assign(arguments.begin() + i, arguments.end());
    return !options.paths.empty();
}
