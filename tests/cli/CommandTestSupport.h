// Helpers of the qvl command tests: run a command in this process with its
// output captured, and write a document file to read.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cli/Commands.h"

#include "tests/Sanitizers.h"

namespace qv::cli::test {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline Outcome run(int (*command)(const ArgumentList&), const ArgumentList& arguments) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    int status = command(arguments);
    return {status, ::testing::internal::GetCapturedStdout(),
            ::testing::internal::GetCapturedStderr()};
}

// A document file in the test's temporary folder.
inline std::string writeDocument(const std::string& name, const std::string& text) {
    std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace qv::cli::test
