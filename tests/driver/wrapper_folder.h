// A temporary folder holding a copy of the wrapper and, beside it, a test driver under the name
// the wrapper looks for; the files and folders go away with the object.
#pragma once

#include <windows.h>

enum : int { TestPathLength = 1024 };

class WrapperFolder {
public:
    // %TEMP%\quellap-<scenario>-<process id>, in its long form.
    explicit WrapperFolder(const WCHAR* scenario);
    ~WrapperFolder();
    WrapperFolder(const WrapperFolder&) = delete;
    WrapperFolder& operator=(const WrapperFolder&) = delete;

    // A subfolder to place the files in instead (created now, removed with the rest).
    bool Enter(const WCHAR* subfolder);
    // Copies the wrapper as <folder>\<stem>.dll and, unless `driverFile` is null, that file from
    // beside this program as <folder>\<stem>_Quellapped.dl_.
    bool Place(const WCHAR* stem, const WCHAR* driverFile);

    const WCHAR* Folder() const { return Current; }
    const WCHAR* WrapperPath() const { return Wrapper; }
    const WCHAR* DriverPath() const { return Driver; }

private:
    void RemovePlacedFiles();

    WCHAR Current[TestPathLength];
    WCHAR Wrapper[TestPathLength];
    WCHAR Driver[TestPathLength];
    enum : int { MaxFolders = 4 };
    WCHAR Folders[MaxFolders][TestPathLength];
    int FolderCount;
};

// A file beside this program.
void ProgramFilePath(const WCHAR* file, WCHAR (&path)[TestPathLength]);
