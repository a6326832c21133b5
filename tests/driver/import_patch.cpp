#include "import_patch.h"

namespace {

template <class T>
T* At(HMODULE module, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

}  // namespace

void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    const IMAGE_DOS_HEADER* dos = At<IMAGE_DOS_HEADER>(module, 0);
    const IMAGE_NT_HEADERS* nt = At<IMAGE_NT_HEADERS>(module, DWORD(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress)
        return nullptr;
    for (const IMAGE_IMPORT_DESCRIPTOR* import =
             At<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress);
         import->Name; ++import) {
        if (lstrcmpiA(At<char>(module, import->Name), dll) != 0)
            continue;
        const IMAGE_THUNK_DATA* names = At<IMAGE_THUNK_DATA>(module, import->OriginalFirstThunk);
        IMAGE_THUNK_DATA* addresses = At<IMAGE_THUNK_DATA>(module, import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const IMAGE_IMPORT_BY_NAME* name =
                At<IMAGE_IMPORT_BY_NAME>(module, DWORD(names->u1.AddressOfData));
            if (lstrcmpA(reinterpret_cast<const char*>(name->Name), function) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
            void* previous = reinterpret_cast<void*>(addresses->u1.Function);
            addresses->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
            return previous;
        }
    }
    return nullptr;
}
