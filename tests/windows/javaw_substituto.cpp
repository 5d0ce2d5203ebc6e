// A stand-in for the Java runtime's javaw.exe: writes its arguments (as the Windows command line
// splits them), one per line in UTF-8, to %ZV_JAVA_ARGS%.<pid>, moved into place when complete.
#include <string>

#include <windows.h>

#include <shellapi.h>

namespace {

std::string utf8(const wchar_t* texto) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, texto, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, texto, -1, s.data(), n, nullptr, nullptr);
    return s;
}

} // namespace

int main() {
    wchar_t base[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"ZV_JAVA_ARGS", base, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 2;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr)
        return 3;
    std::string conteudo;
    for (int i = 1; i < argc; ++i)
        conteudo += utf8(argv[i]) + '\n';
    LocalFree(argv);

    const std::wstring final = std::wstring(base) + L'.' + std::to_wstring(GetCurrentProcessId());
    const std::wstring parcial = final + L".tmp";
    HANDLE h = CreateFileW(parcial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 4;
    DWORD escritos = 0;
    const BOOL ok = WriteFile(h, conteudo.data(), static_cast<DWORD>(conteudo.size()), &escritos, nullptr);
    CloseHandle(h);
    if (!ok || escritos != conteudo.size() ||
        !MoveFileExW(parcial.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING))
        return 5;
    return 0;
}
