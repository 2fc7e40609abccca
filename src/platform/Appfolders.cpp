#include "Appfolders.h"

#include "Files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace ov {

namespace {

constexpr const char* SettingsName = "Orvane.ini";
constexpr const char* ProgramFolderName = "orvane";

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string InstalledDataFolder() {
    return ExeFolder() + "../share/orvane/";
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return WithSlash(home);
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return WithSlash(entry->pw_dir);
    return "/tmp/";
}

// An XDG base folder: the variable when it names an absolute path (the
// standard says relative ones are to be ignored), else HOME + fallback.
std::string XdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return WithSlash(value);
    return HomeFolder() + fallback;
}

std::string UserConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config/") + ProgramFolderName + "/";
}

std::string UserDataFolder() {
    return XdgFolder("XDG_DATA_HOME", ".local/share/") + ProgramFolderName + "/";
}

bool WritableFolder(const std::string& folder) {
    struct stat st;
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::string WithoutSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

std::string RuntimePath(std::string_view name) {
    const std::string relative = WithoutSlash(std::string(name));
    const std::string beside = ResolveFileCase(ExeFolder() + relative);
    if (PathExists(beside))
        return beside;
    const std::string installed = ResolveFileCase(InstalledDataFolder() + relative);
    if (PathExists(installed))
        return installed;
    return beside;
}

std::string ShippedSyntaxFolder() {
    return WithSlash(RuntimePath("Syntax"));
}

bool SettingsBesideExecutable() {
    const std::string folder = ExeFolder();
    if (!WritableFolder(folder))
        return false;
    return PathExists(ResolveFileCase(folder + SettingsName)) ||
           !PathExists(ResolveFileCase(InstalledDataFolder() + "langlink.ini"));
}

std::string SettingsFilePath() {
    if (SettingsBesideExecutable())
        return ExeFolder() + SettingsName;
    return UserConfigFolder() + SettingsName;
}

bool SettingsCanBeSaved() {
    return SettingsSaveObstacle(SettingsFilePath()).empty();
}

std::string SettingsSaveObstacle(const std::string& file) {
    const std::string found = ResolveFileCase(file);
    const std::string cannot = "설정을 저장할 수 없습니다: ";
    if (IsWriteProtected(found))
        return cannot + found + " 파일에 쓸 수 없습니다.";
    if (struct stat st; ::stat(found.c_str(), &st) == 0) {
        if (S_ISFIFO(st.st_mode))
            return cannot + found + " 은(는) 파일이 아니라 이름 있는 파이프입니다.";
        if (S_ISSOCK(st.st_mode))
            return cannot + found + " 은(는) 파일이 아니라 소켓입니다.";
        if (S_ISDIR(st.st_mode))
            return cannot + found + " 은(는) 파일이 아니라 폴더입니다.";
    }
    if (!CanCreateFile(file))
        return cannot + ExtractFilePath(file) + " 폴더에 쓸 수 없습니다.";
    return {};
}

bool CanCreateFile(const std::string& path) {
    std::string folder = WithoutSlash(ExtractFilePath(path));
    // A folder still to be made is made inside its nearest existing parent.
    while (!folder.empty() && !PathExists(folder)) {
        std::string::size_type slash = folder.rfind('/');
        if (slash == std::string::npos)
            return WritableFolder(".");
        folder = slash == 0 ? std::string("/") : folder.substr(0, slash);
    }
    return WritableFolder(folder.empty() ? std::string(".") : folder);
}

std::string UserSyntaxFolder() {
    if (SettingsBesideExecutable())
        return ShippedSyntaxFolder();
    return UserDataFolder() + "Syntax/";
}

std::string UserStyleFile(std::string_view language) {
    // The folder in the case it has on disk, so that a first colour file goes
    // into "syntax/" when that is how the user named it.
    const std::string folder = WithSlash(ResolveFileCase(WithoutSlash(UserSyntaxFolder())));
    return ResolveFileCase(folder + std::string(language) + ".sty");
}

std::string UserLangLinkFile() {
    if (SettingsBesideExecutable())
        return {};
    return UserDataFolder() + "langlink.ini";
}

std::string FindSyntaxFile(std::string_view fileName) {
    const std::string user = UserSyntaxFolder() + std::string(fileName);
    if (FileExists(user))
        return ResolveFileCase(user);
    return ResolveFileCase(ShippedSyntaxFolder() + std::string(fileName));
}

bool CreateFolders(const std::string& folder) {
    const std::string path = WithoutSlash(folder);
    if (path.empty())
        return false;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    std::string::size_type slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !CreateFolders(path.substr(0, slash)))
        return false;
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST)
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    return false;
}

} // namespace ov
