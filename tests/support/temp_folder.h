// A fresh folder under the system's temporary folder, on either system
// (mkdtemp does not exist on Windows).
#pragma once

#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace enlazor::test_support {

// Creates and returns <temp>/<prefix>-<random>; throws when it cannot.
inline std::filesystem::path make_temp_folder(const std::string& prefix) {
    static std::mt19937_64 random(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = base / (prefix + "-" + std::to_string(random() % 100000000));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error))
            return candidate;
        if (error)
            break;
    }
    throw std::runtime_error("cannot create a temporary folder for " + prefix);
}

} // namespace enlazor::test_support
