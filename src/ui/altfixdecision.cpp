#include "ui/altfixdecision.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool altFixActive(const AltFixSystem &system)
{
    if (!system.sendsUiStateMessages)
        return false;
    if (!system.osMajorVersion || *system.osMajorVersion < 6)
        return false;
    const bool commonControls6 = !system.commonControlsVersion || *system.commonControlsVersion > 0x5FFFF;
    return system.themeLibraryLoaded && system.appThemed && system.themeActive && commonControls6;
}

#ifdef Q_OS_WIN
namespace {
std::optional<quint32> commonControlsVersion()
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA("comctl32.dll", &ignored);
    if (size == 0)
        return std::nullopt;
    QByteArray data(int(size), '\0');
    if (!GetFileVersionInfoA("comctl32.dll", 0, size, data.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO *info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&info), &length) || !info)
        return std::nullopt;
    return quint32(info->dwFileVersionMS);
}
} // namespace

AltFixSystem currentAltFixSystem()
{
    AltFixSystem system;
    system.sendsUiStateMessages = true;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version))
        system.osMajorVersion = int(version.dwMajorVersion);
    if (HMODULE theme = LoadLibraryA("uxtheme.dll")) {
        system.themeLibraryLoaded = true;
        using Query = BOOL(WINAPI *)();
        const auto isAppThemed = reinterpret_cast<Query>(GetProcAddress(theme, "IsAppThemed"));
        const auto isThemeActive = reinterpret_cast<Query>(GetProcAddress(theme, "IsThemeActive"));
        system.appThemed = isAppThemed && isAppThemed();
        system.themeActive = isThemeActive && isThemeActive();
    }
    system.commonControlsVersion = commonControlsVersion();
    return system;
}
#else
AltFixSystem currentAltFixSystem()
{
    // X11 and the other window systems here send no UI-state messages.
    return AltFixSystem{};
}
#endif
