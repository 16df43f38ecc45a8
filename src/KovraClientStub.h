#pragma once

// The platform client as far as the application uses it before the client
// library is there: a client that never logs in.
namespace KovraClient {

class cKovraClient {
public:
    cKovraClient() = default;

    // Whether the client is logged in to the platform.
    bool isConnected() const { return false; }
};

} // namespace KovraClient
