// What the commands of qvl share: their options, reading the document they
// work on with the failure said on stderr, and their time limit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Document.h"
#include "cli/TimeLimit.h"

namespace qv::cli {

using ArgumentList = std::vector<std::string>;

// Prints "qvl: PROBLEM" and the command's usage on stderr; returns 2.
int usageError(const std::string& command, const std::string& problem);
bool wantsHelp(const ArgumentList& arguments);

struct Options {
    std::vector<std::string> positional;
    bool all = false;
    bool typed = false;
    bool write = false;
    bool exact = false;
    bool strict = false;
    bool why = false;
    bool diff = false;
    std::optional<std::string> format;
    std::optional<std::string> output;
    std::optional<double> timeLimit;
    std::optional<std::int32_t> depth;
    // import's: the table, the key, and how the data is written.
    std::optional<std::string> table;
    std::optional<std::string> key;
    std::optional<std::string> delimiter;
    std::optional<std::string> encoding;
    bool decimalComma = false;
    bool noHeader = false;
};

// The deepest --depth explain takes.
inline constexpr std::int32_t kMaxExplainDepth = 64;

// The options of `command`; on a usage error, nothing, with `status` set
// after saying what is wrong. Options may stand anywhere before "--"; a
// lone "-" is a file name.
std::optional<Options> parseOptions(const std::string& command, const ArgumentList& arguments,
                                    int& status);
// The start of every command: its usage on stdout for --help or -h (status
// 0), else its options as parseOptions reads them; nothing when the command
// has nothing more to do.
std::optional<Options> commandOptions(const std::string& command, const ArgumentList& arguments,
                                      int& status);
// "text" or "json" from --format (text by default); nothing after a usage
// error for any other.
std::optional<std::string> textOrJson(const std::string& command, const Options& options,
                                      int& status);

// Documents read from now on are kept until the process exits.
void keepLoadedDocuments();

// Reads the document at `path` ("-": standard input) and tells on stderr
// what the reader changed to read it; the null object after printing
// "qvl: FILE:LINE:COL: MESSAGE" (or "qvl: FILE: MESSAGE") when it fails.
// With `text`, the document's text as read is kept there.
Pointer<Document> load(const std::string& path, const Pointer<AbstractKernelFeedback>& feedback,
                       StringPointer* text = nullptr);

// The document as Document::toSource() writes it (program text, layout
// text, end mark) and a line feed, handed on a table at a time instead of
// as one text of the whole document.
void writeDocumentSource(const Document& document, std::FILE* out);

// For a command that rewrites its file with --write: false, with `status`
// set after saying why, when `path` is "-" or names something other than a
// regular file. Asked before reading, so a pipe is never waited on and a
// device never replaced.
bool mayWriteBack(const std::string& command, const Options& options, const std::string& path,
                  int& status);
// Replaces the file with the document atomically; 0, or 1 after saying why
// it could not.
int writeBack(const Document& document, const std::string& path);
// Says "qvl: PATH: MESSAGE", the message made safe for a terminal; returns 1.
int documentFailure(const std::string& path, std::string_view message);

// The table of that name, or null after saying "qvl: FILE: TABLE: MESSAGE".
Pointer<TableResult> findTable(Kernel& kernel, const std::string& path, const std::string& name);

// The command's time limit, counted from now; null without one.
std::unique_ptr<TimeLimit> startTimeLimit(const Options& options);
void watchTime(const std::unique_ptr<TimeLimit>& limit, const Document& document);
// The command's status, or a failure after saying that its time limit
// stopped the computation; what was printed stays printed.
int withinTimeLimit(const std::unique_ptr<TimeLimit>& limit, const std::string& path, int status);

}  // namespace qv::cli
