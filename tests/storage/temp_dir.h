// A fresh directory per test, with byte-exact file helpers.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/builtin_texts.h"

namespace devical::storage::testing {

// Runs the action with the program's own texts in the language of a set's code.
template <typename Action>
void InLanguage(std::string_view code, Action action) {
    engine::SetBuiltInLanguage(code);
    action();
    engine::SetBuiltInLanguage("FR");
}

// Runs the action with writes limited to the given file size, as on a full disk: a write
// past it fails instead of ending the process.
template <typename Action>
void WithFileSizeLimit(rlim_t bytes, Action action) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &tight);
    action();
    ::setrlimit(RLIMIT_FSIZE, &saved);
}

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/devical-test-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path Path(const std::string& name) const { return dir_ / name; }

    std::filesystem::path WriteBytes(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }

    std::string Bytes(const std::string& name) const { return BytesAt(Path(name)); }

    // No rewrite left a temporary file (name.XXXXXX.tmp) or a journal behind.
    bool NoTemporaryLeft() const {
        for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".tmp") || name == "DEVICAL.JNL") return false;
        }
        return true;
    }

    static std::string BytesAt(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir_;
};

}  // namespace devical::storage::testing
