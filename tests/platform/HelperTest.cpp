// The rules beneath the client: names, numbered names, listing order, netrc
// accounts and which addresses may carry a password.

#include "platform/Http.h"
#include "platform/Names.h"
#include "platform/Netrc.h"
#include "support/FileSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kovraplatform;

namespace {

TEST(PlatformNames, NumberedNamesGoBeforeTheExtension)
{
    struct Case {
        const char* name;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"plan.xsp", 1, "plan.xsp"},
        {"plan.xsp", 2, "plan (2).xsp"},
        {"plan.xsp", 12, "plan (12).xsp"},
        {"archive.tar.gz", 2, "archive.tar (2).gz"},
        {"README", 3, "README (3)"},
        {".xsp", 2, ".xsp (2)"},
        {"House_Rooms.csv", 2, "House_Rooms (2).csv"},
    };
    for (const Case& test : cases)
        EXPECT_EQ(numberedName(test.name, test.n), test.expected) << test.name << " " << test.n;
}

TEST(PlatformNames, OnlyNamesThatStayInTheirFolderAreUsable)
{
    const char* usable[] = {"plan.xsp", ".xsp", "...", "Müller Haus", "50% #1?", "a..b"};
    for (const char* name : usable)
        EXPECT_EQ(nameProblem(name), "") << name;
    const char* refused[] = {"", ".", "..", "a/b", "/", "a\\b", "tab\tname", "line\nbreak", "nul\x01"};
    for (const char* name : refused)
        EXPECT_NE(nameProblem(name), "") << name;
}

TEST(PlatformNames, ListingsIgnoreTheCaseOfLetters)
{
    std::vector<std::string> names{"beta", "Gamma", "alpha", "Alpha", "10", "2"};
    std::sort(names.begin(), names.end(), nameLess);
    EXPECT_EQ(names, (std::vector<std::string>{"10", "2", "Alpha", "alpha", "beta", "Gamma"}));
}

TEST(PlatformNetrc, TheAccountOfTheHostElseTheDefault)
{
    kovra_test::ScratchFolder scratch;
    const std::string path = scratch.file("netrc");
    kovra_test::writeText(path, "machine a.example.org login ann password one\n"
                                "machine b.example.org\n  login bea\n  password \"two words\"\n"
                                "macdef init\ncd /machine\nmachine c.example.org login no password no\n\n"
                                "machine a.example.org login second password no\n"
                                "default login anyone password any\n");
    struct Case {
        const char* host;
        const char* login;
        const char* password;
    };
    const Case cases[] = {
        {"a.example.org", "ann", "one"},
        {"b.example.org", "bea", "two words"},
        {"c.example.org", "anyone", "any"},
        {"z.example.org", "anyone", "any"},
    };
    for (const Case& test : cases) {
        const auto account = netrcAccount(path, test.host);
        ASSERT_TRUE(account) << test.host;
        EXPECT_EQ(account->login, test.login) << test.host;
        EXPECT_EQ(account->password, test.password) << test.host;
    }
    kovra_test::writeText(path, "machine a.example.org login ann password one\n");
    EXPECT_FALSE(netrcAccount(path, "b.example.org"));
    EXPECT_FALSE(netrcAccount(scratch.file("missing"), "a.example.org"));
}

TEST(PlatformAddresses, PasswordsGoOnlyToHttpsOrToThisMachine)
{
    struct Case {
        const char* url;
        bool allowed;
    };
    const Case cases[] = {
        {"https://cloud.example.org/", true},
        {"HTTPS://cloud.example.org/remote.php/dav/files/ann/", true},
        {"http://127.0.0.1:8080/dav/", true},
        {"http://127.4.5.6/", true},
        {"http://localhost/", true},
        {"http://[::1]:8080/", true},
        {"http://cloud.example.org/", false},
        {"http://192.168.1.2/", false},
        {"http://128.0.0.1/", false},
        {"ftp://127.0.0.1/", false},
        {"nonsense", false},
    };
    for (const Case& test : cases)
        EXPECT_EQ(insecureUrlProblem(test.url).empty(), test.allowed) << test.url;
}

TEST(PlatformAddresses, PathSegmentsSurviveEncoding)
{
    const std::string names[] = {"Müller Haus", "50% #1?", "a+b&c=d", "plan ü€.xsp"};
    for (const std::string& name : names) {
        const std::string encoded = percentEncode(name);
        EXPECT_EQ(encoded.find_first_of(" %#?/&+="), encoded.find('%')) << encoded;
        EXPECT_EQ(percentDecode(encoded), name);
    }
}

} // namespace
