#pragma once
// The whole content of a file as the tests compare it; empty when it cannot be read.

#include <fstream>
#include <iterator>
#include <string>

namespace pellmora::test {

inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace pellmora::test
