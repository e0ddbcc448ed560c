// qvl: the headless tool. For now it reads the table definitions of a
// document and prints them back as the program writes them.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/String.h"
#include "language/ProgramDef.h"
#include "language/StringStream.h"
#include "language/TableParser.h"

namespace {

constexpr const char* kUsage =
    "usage: qvl fmt FILE\n"
    "\n"
    "  fmt FILE   read the tables of FILE ('-' for standard input) and print\n"
    "             them as the program writes them\n";

bool readAll(const char* path, std::string& text) {
    if (std::strcmp(path, "-") == 0) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream buffer;
    buffer << file.rdbuf();
    text = buffer.str();
    return true;
}

// Reads every "table" definition until the end of the text or a word that
// starts no table (the layout part of a document).
qv::Pointer<qv::ProgramDef> readTables(const std::string& text) {
    auto program = qv::make<qv::ProgramDef>();
    auto stream = qv::make<qv::StringStream>(qv::str(text));
    while (stream->peek()->isWord("table")) {
        program->addTable(qv::make<qv::TableParser>()->parseTable(stream));
    }
    return program;
}

int format(const char* path) {
    std::string text;
    if (!readAll(path, text)) {
        std::fprintf(stderr, "qvl: %s: can not open %s\n", path, path);
        return 1;
    }
    try {
        std::fputs(readTables(text)->toSource()->text(), stdout);
    } catch (const qv::StringPointer& message) {
        std::fprintf(stderr, "qvl: %s: %s\n", path, message->text());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "fmt") == 0) return format(argv[2]);
    std::fputs(kUsage, stderr);
    return 2;
}
