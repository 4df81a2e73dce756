// A fresh folder for one test's logs and results, removed when the test is
// done, and small helpers to write logs into it and read results back.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

class TCheckTestFolder {
public:
    explicit TCheckTestFolder(const std::string& name)
        : Path_(std::filesystem::temp_directory_path() / ("velmora-check-test-" + name))
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path_, ignored);
        std::filesystem::create_directories(Path_ / "logs");
    }
    ~TCheckTestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path_, ignored);
    }
    TCheckTestFolder(const TCheckTestFolder&) = delete;
    TCheckTestFolder& operator=(const TCheckTestFolder&) = delete;

    std::string Logs() const { return (Path_ / "logs").string(); }
    std::string Out() const { return (Path_ / "out").string(); }

    std::string WriteLog(const std::string& name, const std::string& bytes) const
    {
        const std::filesystem::path path = Path_ / "logs" / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::string Result(const std::string& name) const { return ReadWhole(Path_ / "out" / name); }

    static std::string ReadWhole(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::filesystem::path Path_;
};
