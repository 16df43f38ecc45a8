#include "support/MapServices.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace kovra_test {

FakeMapServices::FakeMapServices()
{
    char folder[] = "/tmp/kovra-map-XXXXXX";
    if (!::mkdtemp(folder))
        throw std::runtime_error("cannot make a folder for the map services");
    folder_ = folder;
    log_ = folder_ + "/requests.log";
    std::ofstream(log_).close();

    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make pipes for the map services");
    const std::string script = std::string(KOVRA_SUPPORT_DIR) + "/fake_map_services.py";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(toChild[0], STDIN_FILENO);
        ::dup2(fromChild[1], STDOUT_FILENO);
        ::execlp("python3", "python3", script.c_str(), log_.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_ = toChild[1];
    std::string line;
    char c = 0;
    while (::read(fromChild[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(fromChild[0]);
    port_ = std::atoi(line.c_str());
}

FakeMapServices::~FakeMapServices()
{
    if (input_ >= 0)
        ::close(input_); // the server ends when its input closes
    if (pid_ > 0) {
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    std::remove(log_.c_str());
    ::rmdir(folder_.c_str());
}

std::string FakeMapServices::url() const
{
    return port_ > 0 ? "http://127.0.0.1:" + std::to_string(port_) : std::string();
}

std::vector<std::string> FakeMapServices::requests() const
{
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> FakeMapServices::requestedPaths() const
{
    std::vector<std::string> paths;
    for (const std::string& line : requests())
        paths.push_back(line.substr(0, line.rfind('|')));
    return paths;
}

} // namespace kovra_test
