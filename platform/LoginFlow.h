#pragma once

// The browser login with app passwords that Nextcloud-style servers offer:
// the client starts a flow, the user confirms it in the web browser, and a
// poll hands the client an app password of its own, which it revokes at
// logout.

#include "platform/Http.h"

#include <optional>
#include <string>

namespace kovraplatform {

struct LoginFlow {
    std::string loginUrl;     // opened in the browser
    std::string pollEndpoint; // polled with the token
    std::string pollToken;
};

struct AppPassword {
    std::string server; // where the files are: <server>/remote.php/dav/files/<loginName>/
    std::string loginName;
    std::string appPassword;
};

// Starts a flow at the server (POST <server>/index.php/login/v2); nothing when
// the server offers none. Throws StoreError when the server cannot be reached.
std::optional<LoginFlow> startLoginFlow(const std::string& server, const HttpSettings& settings);
// One poll: the app password once the user has confirmed, nothing before.
std::optional<AppPassword> pollLoginFlow(const LoginFlow& flow, const HttpSettings& settings);
// Revokes the app password at the server that issued it. Throws StoreError.
void revokeAppPassword(const std::string& server, const Credentials& credentials, const HttpSettings& settings);

// The address of the user's files under a flow's server.
std::string filesAddress(const AppPassword& password);

} // namespace kovraplatform
