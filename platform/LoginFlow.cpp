#include "platform/LoginFlow.h"

#include "platform/Store.h"

#include <nlohmann/json.hpp>

namespace kovraplatform {

namespace {

std::string withoutTrailingSlash(std::string url)
{
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    return url;
}

std::string text(const nlohmann::json& object, const char* key)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

} // namespace

std::optional<LoginFlow> startLoginFlow(const std::string& server, const HttpSettings& settings)
{
    HttpRequest request;
    request.method = "POST";
    request.url = withoutTrailingSlash(server) + "/index.php/login/v2";
    const HttpResponse response = perform(request, settings, server);
    if (response.status != 200)
        return std::nullopt;
    const nlohmann::json answer = nlohmann::json::parse(response.body, nullptr, false);
    if (!answer.is_object() || !answer.contains("poll") || !answer["poll"].is_object())
        return std::nullopt;
    LoginFlow flow{text(answer, "login"), text(answer["poll"], "endpoint"), text(answer["poll"], "token")};
    if (flow.loginUrl.empty() || flow.pollEndpoint.empty() || flow.pollToken.empty())
        return std::nullopt;
    return flow;
}

std::optional<AppPassword> pollLoginFlow(const LoginFlow& flow, const HttpSettings& settings)
{
    HttpRequest request;
    request.method = "POST";
    request.url = flow.pollEndpoint;
    request.headers = {"Content-Type: application/x-www-form-urlencoded"};
    request.body = "token=" + percentEncode(flow.pollToken);
    const HttpResponse response = perform(request, settings, flow.pollEndpoint);
    if (response.status != 200)
        return std::nullopt;
    const nlohmann::json answer = nlohmann::json::parse(response.body, nullptr, false);
    if (!answer.is_object())
        return std::nullopt;
    AppPassword password{withoutTrailingSlash(text(answer, "server")), text(answer, "loginName"),
                         text(answer, "appPassword")};
    if (password.server.empty() || password.loginName.empty() || password.appPassword.empty())
        return std::nullopt;
    return password;
}

void revokeAppPassword(const std::string& server, const Credentials& credentials, const HttpSettings& settings)
{
    HttpRequest request;
    request.method = "DELETE";
    request.url = withoutTrailingSlash(server) + "/ocs/v2.php/core/apppassword";
    request.headers = {"OCS-APIRequest: true"};
    request.credentials = credentials;
    perform(request, settings, server);
}

std::string filesAddress(const AppPassword& password)
{
    return password.server + "/remote.php/dav/files/" + percentEncode(password.loginName) + "/";
}

} // namespace kovraplatform
