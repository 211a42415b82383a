#include "support/temp_work_dir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace quarvel::testing {

TempWorkDir::TempWorkDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quarvel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder from " + pattern);
    }
    path_ = pattern;
    if (const char* old = std::getenv("QUARVEL_WORKDIR"); old != nullptr) {
        previous_ = old;
    }
    setenv("QUARVEL_WORKDIR", path_.c_str(), 1);
}

TempWorkDir::~TempWorkDir() {
    if (previous_) {
        setenv("QUARVEL_WORKDIR", previous_->c_str(), 1);
    } else {
        unsetenv("QUARVEL_WORKDIR");
    }
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TempWorkDir::write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        ADD_FAILURE() << "cannot write " << file(name);
    }
}

std::string TempWorkDir::read(std::string_view name) const {
    std::ifstream in(file(name), std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << file(name);
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempWorkDir::exists(std::string_view name) const {
    std::error_code ec;
    return std::filesystem::exists(file(name), ec);
}

} // namespace quarvel::testing
