// A file in the temporary folder holding given bytes, removed again when the
// test is done with it.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

class TTempLogFile {
public:
    // `name` should be unique within the test program: test programs run in
    // parallel, but each runs its tests one after another.
    TTempLogFile(const std::string& name, const std::string& bytes)
        : Path_(std::filesystem::temp_directory_path() / ("velmora-tools-test-" + name))
    {
        std::ofstream(Path_, std::ios::binary) << bytes;
    }
    ~TTempLogFile()
    {
        std::error_code ignored;
        std::filesystem::remove(Path_, ignored);
    }
    TTempLogFile(const TTempLogFile&) = delete;
    TTempLogFile& operator=(const TTempLogFile&) = delete;

    std::string Path() const { return Path_.string(); }

private:
    std::filesystem::path Path_;
};
