#include "support/PlatformServers.h"

#include "support/ExternalTool.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace kovra_test {

namespace {

// Start-up of Apache and Python takes well under a second; this bound only
// ends a test whose server never comes up.
constexpr auto startupLimit = std::chrono::seconds(30);
constexpr auto startupPoll = std::chrono::milliseconds(20);

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string randomPassword()
{
    std::random_device device;
    std::string password;
    const char* letters = "abcdefghijkmnopqrstuvwxyz23456789";
    for (int i = 0; i < 16; ++i)
        password += letters[device() % 33];
    return password;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& outputFile)
{
    int pipeEnds[2] = {-1, -1};
    if (outputFile.empty() && ::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    pid_ = ::fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot start " + argv.front());
    if (pid_ == 0) {
        const int out = outputFile.empty() ? pipeEnds[1] : ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (out >= 0) {
            ::dup2(out, STDOUT_FILENO);
            if (!outputFile.empty())
                ::dup2(out, STDERR_FILENO);
        }
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    if (outputFile.empty()) {
        ::close(pipeEnds[1]);
        output_ = pipeEnds[0];
    }
}

ChildProcess::~ChildProcess()
{
    stop();
    if (output_ >= 0)
        ::close(output_);
}

bool ChildProcess::running()
{
    if (pid_ <= 0)
        return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

std::string ChildProcess::readLine()
{
    std::string line;
    char c;
    while (output_ >= 0 && ::read(output_, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

void ChildProcess::stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(startupPoll);
    }
    pid_ = -1;
}

int freeLoopbackPort()
{
    const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(sock);
    return port;
}

bool answersOptions(int port)
{
    const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    bool answered = false;
    if (::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "OPTIONS / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        if (::send(sock, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
            char reply[16] = {};
            answered = ::recv(sock, reply, 5, MSG_WAITALL) == 5 && std::strncmp(reply, "HTTP/", 5) == 0;
        }
    }
    ::close(sock);
    return answered;
}

DavServer::DavServer() : password_(randomPassword())
{
    char pattern[] = "/tmp/kovra-dav-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("cannot make a folder for the WebDAV server");
    folder_ = pattern;
    for (const char* sub : {"docroot", "share", "lock", "run"})
        fs::create_directory(folder_ + "/" + sub);
    const auto htpasswd = testsupport::runCommand("htpasswd -cb " + testsupport::shellQuote(folder_ + "/htpasswd") +
                                                  " alice " + password_);
    if (htpasswd.exitCode != 0)
        throw std::runtime_error("htpasswd failed: " + htpasswd.output);
    if (::geteuid() == 0) {
        // Apache drops root for "nobody", who must reach and write the share.
        ::chmod(folder_.c_str(), 0755);
        for (const char* sub : {"share", "lock"})
            ::chown((folder_ + "/" + sub).c_str(), 65534, 65534);
        ::chmod((folder_ + "/htpasswd").c_str(), 0644);
    }
    // Another test may take the port between the check and Apache's bind.
    for (int attempt = 0; attempt < 5; ++attempt)
        if (start(freeLoopbackPort()))
            return;
    keep_ = true;
    throw std::runtime_error("Apache did not start; see " + errorLog());
}

bool DavServer::start(int port)
{
    std::ifstream in(std::string(KOVRA_SUPPORT_DIR) + "/dav/httpd.conf.in");
    std::ostringstream text;
    text << in.rdbuf();
    std::string config = text.str();
    replaceAll(config, "@DIR@", folder_);
    replaceAll(config, "@PORT@", std::to_string(port));
    replaceAll(config, "@USER@", ::geteuid() == 0 ? "User nobody\nGroup nogroup" : "");
    std::ofstream(folder_ + "/httpd.conf") << config;

    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"apache2", "-f", folder_ + "/httpd.conf", "-DFOREGROUND"}, folder_ + "/output.log");
    const auto deadline = std::chrono::steady_clock::now() + startupLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!process_->running()) {
            process_.reset();
            return false;
        }
        if (answersOptions(port)) {
            port_ = port;
            return true;
        }
        std::this_thread::sleep_for(startupPoll);
    }
    process_.reset();
    return false;
}

DavServer::~DavServer()
{
    stop();
    if (keep_) {
        std::cerr << "WebDAV server kept in " << folder_ << "; its error log:\n" << readAll(errorLog()) << "\n";
        return;
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void DavServer::stop()
{
    process_.reset();
}

std::string DavServer::serverUrl() const
{
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string DavServer::filesUrl() const
{
    return serverUrl() + "/remote.php/dav/files/alice/";
}

std::string DavServer::netrcLine(bool wrongPassword) const
{
    return "machine 127.0.0.1 login alice password " + (wrongPassword ? "not-" + password_ : password_) + "\n";
}

std::string DavServer::errorLog() const
{
    return folder_ + "/error.log";
}

StandIn::StandIn(const std::string& mode, const std::vector<std::string>& arguments, const std::string& script)
{
    std::vector<std::string> argv{"python3", std::string(KOVRA_SUPPORT_DIR) + "/" + script, mode};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    process_ = std::make_unique<ChildProcess>(argv, "");
    const std::string line = process_->readLine();
    if (line.compare(0, 5, "PORT ") != 0)
        throw std::runtime_error("the " + mode + " stand-in did not start");
    port_ = std::stoi(line.substr(5));
}

std::string StandIn::request(const std::string& method, const std::string& url) const
{
    const std::string script = "import sys, urllib.request\n"
                               "r = urllib.request.Request(sys.argv[2], method=sys.argv[1], data=b'' if sys.argv[1] == 'POST' else None)\n"
                               "sys.stdout.write(urllib.request.urlopen(r).read().decode())\n";
    const auto result = testsupport::runCommand("python3 -c " + testsupport::shellQuote(script) + " " +
                                                testsupport::shellQuote(method) + " " + testsupport::shellQuote(url));
    if (result.exitCode != 0)
        throw std::runtime_error(method + " " + url + " failed: " + result.output);
    return result.output;
}

std::vector<std::string> StandIn::requestLog() const
{
    // A JSON list of plain strings; the paths are percent-encoded, so none
    // holds a quote or backslash.
    const std::string text = request("GET", url() + "/__requests");
    std::vector<std::string> lines;
    std::size_t start = text.find('"');
    while (start != std::string::npos) {
        const std::size_t end = text.find('"', start + 1);
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start + 1, end - start - 1));
        start = text.find('"', end + 1);
    }
    return lines;
}

} // namespace kovra_test
