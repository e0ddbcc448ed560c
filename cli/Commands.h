// The commands of qvl. Each takes its arguments (after the command word)
// and returns the process exit status: 0 success, 1 a document that failed,
// 2 a usage error.
#pragma once

#include <string>
#include <vector>

#include "cli/UsageTexts.h"

namespace qv::cli {

using ArgumentList = std::vector<std::string>;

// The tool: the command word, then its arguments. Besides the command's own
// status, running out of memory is 1 with "qvl: out of memory", and output
// that could not be written turns success into 1 with "qvl: can not write
// to standard output".
int runTool(const ArgumentList& arguments);

int runCheck(const ArgumentList& arguments);
int runEval(const ArgumentList& arguments);
int runShow(const ArgumentList& arguments);
// Prints where the value of an expression comes from.
int runExplain(const ArgumentList& arguments);
int runFmt(const ArgumentList& arguments);
// Draws a table's chart into an SVG file.
int runChart(const ArgumentList& arguments);
// Lists where a table, field or row is used.
int runRefs(const ArgumentList& arguments);
// Renames a table, field or row everywhere it is used.
int runRename(const ArgumentList& arguments);

// Brings CSV or TSV data into a table of the document.
int runImport(const ArgumentList& arguments);

// Documents that commands load are kept until the process exits instead of
// being torn down when the command returns; for the tool, not for tests.
void keepDocumentsUntilExit();

}  // namespace qv::cli
