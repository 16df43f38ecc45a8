// Every input that once broke a fuzz target, kept under
// tests/fuzz/regressions/<target>/, and the seed files of the targets run
// through the same target functions as the fuzzers, without a fuzzer.

#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Input {
    const kovra_fuzz::Target* target;
    fs::path file;
};

void addFolder(std::vector<Input>& inputs, const kovra_fuzz::Target& target, const fs::path& folder,
               const std::string& extension = "")
{
    if (!fs::is_directory(folder))
        return;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
        inputs.push_back({&target, file});
}

std::vector<Input> allInputs()
{
    const fs::path source(KOVRA_SOURCE_DIR);
    std::vector<Input> inputs;
    for (const kovra_fuzz::Target& target : kovra_fuzz::targets) {
        addFolder(inputs, target, source / "tests/fuzz/regressions" / target.name);
        const std::string name = target.name;
        if (name == "project" || name == "export") {
            addFolder(inputs, target, source / "tests/data", ".xsp");
            addFolder(inputs, target, source / "bench/data", ".xsp");
        } else if (name == "requirements" || name == "roomform") {
            addFolder(inputs, target, source / "tests/data", ".csv");
        }
    }
    return inputs;
}

std::string testName(const testing::TestParamInfo<Input>& info)
{
    std::string name = std::string(info.param.target->name) + "_" + info.param.file.parent_path().filename().string() +
                       "_" + info.param.file.filename().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

class FuzzInput : public testing::TestWithParam<Input> {};

TEST_P(FuzzInput, PassesItsTarget)
{
    std::ifstream in(GetParam().file, std::ios::binary);
    ASSERT_TRUE(in) << GetParam().file;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        GetParam().target->run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const std::exception& error) {
        ADD_FAILURE() << GetParam().file << ": " << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Kept, FuzzInput, testing::ValuesIn(allInputs()), testName);

} // namespace
