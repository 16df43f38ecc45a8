#pragma once

// Servers for the platform client's tests, each a child process on
// 127.0.0.1 started by the test and stopped by its process id: Apache httpd
// with a WebDAV share (the same set-up as scripts/dav-server.sh), and the
// Python stand-ins of platform_standin.py.

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace kovra_test {

// A child process, stopped (SIGTERM, then SIGKILL) by its id at destruction.
class ChildProcess {
public:
    // Standard output goes to a pipe read by readLine when outputFile is
    // empty, else (with standard error) to outputFile.
    ChildProcess(const std::vector<std::string>& argv, const std::string& outputFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // The next line of the child's output; empty when it ended.
    std::string readLine();
    void stop();

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

// A port on 127.0.0.1 that was free a moment ago.
int freeLoopbackPort();
// Whether an HTTP server on 127.0.0.1:port answers OPTIONS.
bool answersOptions(int port);

// Apache httpd serving a WebDAV share with Basic authentication at
// /remote.php/dav/files/alice/, as a Nextcloud server would place it.
class DavServer {
public:
    DavServer();
    ~DavServer();
    DavServer(const DavServer&) = delete;
    DavServer& operator=(const DavServer&) = delete;

    // Stops the server (its address stays unanswered).
    void stop();
    // Keeps the server's folder with its error log after destruction, for a
    // failed test; prints where it is.
    void keep() { keep_ = true; }

    std::string serverUrl() const;        // http://127.0.0.1:<port>
    std::string filesUrl() const;         // the share's address, ending with "/"
    std::string user() const { return "alice"; }
    std::string password() const { return password_; }
    // A netrc line with the account, or with another password when wrong.
    std::string netrcLine(bool wrongPassword = false) const;
    // The folder the share keeps its files in.
    std::string shareFolder() const { return folder_ + "/share"; }
    std::string errorLog() const;

private:
    bool start(int port);

    std::string folder_;
    std::string password_;
    int port_ = 0;
    bool keep_ = false;
    std::unique_ptr<ChildProcess> process_;
};

// One of the Python stand-ins ("login-flow", "truncating", "silent"), or
// with script "hostile_dav.py" one of the hostile WebDAV server's modes.
class StandIn {
public:
    StandIn(const std::string& mode, const std::vector<std::string>& arguments = {},
            const std::string& script = "platform_standin.py");

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // An HTTP request made with Python's urllib, as a browser or user would;
    // the response body.
    std::string request(const std::string& method, const std::string& url) const;
    // The hostile server's log of the requests it got, "METHOD path" each.
    std::vector<std::string> requestLog() const;

private:
    std::unique_ptr<ChildProcess> process_;
    int port_ = 0;
};

} // namespace kovra_test
