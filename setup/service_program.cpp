#include "service_program.h"

#include "pe_image.h"
#include "setup_names.h"
#include "slot_status.h"

namespace {

struct TrustedObject {
    std::wstring path;
    SecurityPlace place;
};

bool Missing(uint32_t error)
{
    return error == ErrorFileNotFound || error == ErrorPathNotFound;
}

// The program, its settings file when there is one, and the folders up to the root.
std::vector<TrustedObject> WhatTheServiceTrusts(FileStore& store, const std::wstring& program)
{
    std::vector<TrustedObject> trusted = {{program, SecurityPlace::Item}};
    PathKind kind = PathKind::Missing;
    if (!Missing(store.Kind(SettingsPath(program), kind))) {
        trusted.push_back({SettingsPath(program), SecurityPlace::Item});
    }
    const std::vector<std::wstring> folders = FoldersAbove(program);
    for (size_t i = 0; i < folders.size(); ++i) {
        const SecurityPlace place = i == 0                  ? SecurityPlace::Item
                                    : i + 1 < folders.size() ? SecurityPlace::Ancestor
                                                             : SecurityPlace::Root;
        trusted.push_back({folders[i], place});
    }
    return trusted;
}

ReportLine Unreadable(const std::wstring& path, uint32_t error)
{
    return Missing(error) ? ReportLine{Message::RefuseProgramNotFound, {path}}
                          : ReportLine{Message::RefuseUnreadable, {path, DecimalText(error)}};
}

bool IsProgram(FileStore& store, const std::wstring& path, ReportLine& refusal)
{
    FileBytes bytes;
    if (const uint32_t error = store.Read(path, bytes)) {
        refusal = Unreadable(path, error);
        return false;
    }
    ImageFacts facts;
    if (ReadImageFacts(bytes.data(), bytes.size(), facts) != ImageVerdict::Image || facts.isDll) {
        refusal = {Message::RefuseNotProgram, {path}};
        return false;
    }
    return true;
}

}  // namespace

bool CheckServiceProgram(FileStore& store, ServicePlatform& platform, const std::wstring& argument,
                         std::wstring& program, ReportLine& refusal)
{
    const std::wstring given = store.LongFullPath(argument);
    if (const uint32_t error = platform.FinalPath(given, program)) {
        refusal = Unreadable(given, error);
        return false;
    }
    if (!IsProgram(store, program, refusal)) return false;
    const std::wstring programFiles = platform.ProgramFilesFolder();
    for (const std::wstring& profile : platform.ProfileFolders()) {
        if (IsInside(program, profile)) {
            refusal = {Message::RefuseInProfile, {program, profile, programFiles}};
            return false;
        }
    }
    const std::wstring installer = platform.InstallerSid();
    for (const TrustedObject& trusted : WhatTheServiceTrusts(store, program)) {
        FileSecurity security;
        std::wstring writer;
        if (const uint32_t error = platform.ReadSecurity(trusted.path, security)) {
            refusal = {Message::RefuseSecurityUnread, {trusted.path, DecimalText(error)}};
            return false;
        }
        if (OtherWriter(security, trusted.place, installer, writer)) {
            refusal = {Message::RefuseOthersCanChange,
                       {trusted.path, platform.AccountName(writer), programFiles}};
            return false;
        }
    }
    return true;
}
