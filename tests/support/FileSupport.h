#pragma once

// Helpers of the file tests: a scratch folder per test, whole-file reads and
// writes, the fixture files under tests/data/, and id masking for comparing
// project files (every save hands out new ids).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>
#include <string>

namespace kovra_test {

// An empty folder of its own, removed with the object.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("kovra-") + test->test_suite_name() + "-" + test->name() + "-" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string dataFile(const std::string& name)
{
    return std::string(KOVRA_TEST_DATA) + "/" + name;
}

// Whether text holds a uuid text (8-4-4-4-12 lowercase hex digits) at pos.
inline bool uuidAt(const std::string& text, std::size_t pos)
{
    if (pos + 36 > text.size())
        return false;
    for (std::size_t i = 0; i < 36; ++i) {
        const char c = text[pos + i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// Every uuid replaced by "id-1", "id-2" ... in the order of first appearance,
// so that two saves of one project compare equal.
inline std::string maskIds(const std::string& text)
{
    std::map<std::string, int> numbers;
    std::string masked;
    for (std::size_t pos = 0; pos < text.size();) {
        if (uuidAt(text, pos)) {
            const int number = numbers.emplace(text.substr(pos, 36), static_cast<int>(numbers.size()) + 1).first->second;
            masked += "id-" + std::to_string(number);
            pos += 36;
        } else {
            masked += text[pos++];
        }
    }
    return masked;
}

} // namespace kovra_test
