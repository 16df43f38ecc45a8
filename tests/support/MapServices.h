#pragma once

// The loopback stand-in of the map's tile and place-search services
// (fake_map_services.py), started on 127.0.0.1 for one test and ended by
// closing its standard input.

#include <sys/types.h>

#include <string>
#include <vector>

namespace kovra_test {

class FakeMapServices {
public:
    FakeMapServices();
    ~FakeMapServices();
    FakeMapServices(const FakeMapServices&) = delete;
    FakeMapServices& operator=(const FakeMapServices&) = delete;

    // http://127.0.0.1:<port>; empty when the server did not start.
    std::string url() const;
    // The requests so far, each "<path>|<user agent>", in arrival order.
    std::vector<std::string> requests() const;
    // The paths of the requests so far.
    std::vector<std::string> requestedPaths() const;

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int port_ = 0;
    std::string folder_;
    std::string log_;
};

} // namespace kovra_test
