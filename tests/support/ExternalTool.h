#pragma once

// Runs external programs from tests (such as IfcOpenShell's checkers) and
// writes temporary files for them. Header-only: shared by several test
// programs.

#include <sys/wait.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace testsupport {

struct CommandResult {
    int exitCode = -1;
    std::string output; // stdout and stderr together
};

// Runs the command through the shell and returns its exit code and output
// (standard error included unless told otherwise).
inline CommandResult runCommand(const std::string& command, bool withErrorOutput = true)
{
    CommandResult result;
    FILE* pipe = ::popen((command + (withErrorOutput ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run: " + command);
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Quotes a path for the shell.
inline std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// A file in the temporary folder, removed when the object goes out of scope.
class TempFile {
public:
    explicit TempFile(const std::string& suffix)
    {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path()
                / ("kovra-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + suffix);
    }
    ~TempFile()
    {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::string path() const { return path_.string(); }

    void write(const std::string& content) const
    {
        std::ofstream file(path_, std::ios::binary);
        file << content;
        if (!file)
            throw std::runtime_error("cannot write " + path_.string());
    }

private:
    std::filesystem::path path_;
};

// True when python3 can import IfcOpenShell; the reason otherwise.
inline CommandResult ifcOpenShellAvailable()
{
    return runCommand("python3 -c 'import ifcopenshell'");
}

} // namespace testsupport
