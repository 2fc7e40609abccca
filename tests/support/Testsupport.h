#pragma once
// Helpers shared by the tests: a temporary folder that removes itself, file
// helpers, and a child process with a deadline.

#include <chrono>
#include <functional>
#include <string>

namespace ov::test {

class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder, with a trailing '/'.
    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + name; }
    // Writes bytes to name in the folder and returns the full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string FPath;
};

std::string ReadBytes(const std::string& path);

// Sets (or, with nullptr, removes) an environment variable for its lifetime
// and puts the old value back.
class TEnvVar {
public:
    TEnvVar(const char* name, const char* value);
    ~TEnvVar();
    TEnvVar(const TEnvVar&) = delete;
    TEnvVar& operator=(const TEnvVar&) = delete;

private:
    std::string FName;
    bool FHadValue = false;
    std::string FOld;
};

// Runs body in a child process and gives its exit status: -1 when it had not
// ended within the limit (it is then killed), so that a call that waits for
// good fails the test instead of holding it; -2 when a signal ended it.
int ExitStatusInChild(const std::function<int()>& body,
                      std::chrono::seconds limit = std::chrono::seconds(20));

} // namespace ov::test
