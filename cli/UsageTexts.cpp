#include "cli/UsageTexts.h"

namespace qv::cli {

namespace {

constexpr const char* kToolUsage =
    "usage: qvl COMMAND [OPTIONS] FILE ...\n"
    "\n"
    "Commands:\n"
    "  check [--strict] [--why] FILE\n"
    "                               read a document and report what it holds\n"
    "  eval [--typed] [--exact] [--why] FILE EXPR...\n"
    "                               evaluate expressions against a document\n"
    "  show [--all] [--exact] [--format text|tsv|csv|json] FILE [TABLE...]\n"
    "                               compute and print tables\n"
    "  explain [--depth N] [--format text|json] FILE EXPR\n"
    "                               show the cells a value comes from and, for an\n"
    "                               error, the cell where it began\n"
    "  fmt [--write] FILE           print a document as the program writes it\n"
    "  chart FILE TABLE -o OUT.svg  draw a table's chart as an SVG picture\n"
    "  refs [--format text|json] FILE NAME\n"
    "                               list where a table, field or row is used\n"
    "  rename [--write] [--diff] FILE OLD NEW\n"
    "                               rename a table, field or row everywhere it is\n"
    "                               used\n"
    "  import --table NAME [--key FIELD] [--write] FILE DATA\n"
    "                               bring CSV or TSV data into a table, new or\n"
    "                               refreshed\n"
    "\n"
    "FILE may be - for standard input. 'qvl COMMAND --help' describes one command.\n"
    "check, eval, show, explain and chart take --time-limit SECONDS: once SECONDS\n"
    "have passed since the command started, the computation stops, the cells not yet\n"
    "computed say \"calculation stopped\", what there is is printed (chart\n"
    "writes no file) and the command fails with 'qvl: FILE: calculation stopped:\n"
    "the time limit of SECONDS s passed'.\n"
    "Exit status: 0 success; 1 a document that could not be read (or, for check\n"
    "--strict, has warnings or error cells), a computation stopped by its time\n"
    "limit, output that could not be written or memory that ran out; 2 a usage\n"
    "error.\n";

constexpr const char* kCheckUsage =
    "usage: qvl check [--strict] [--why] [--time-limit SECONDS] FILE\n"
    "Reads the document and prints a line 'TABLE: MESSAGE' for each table with a\n"
    "warning (a circular or missing base table, a table past the limits), then\n"
    "one line: its tables, fields, rows, the cells that hold error values and the\n"
    "tables with warnings. A document that does not read prints\n"
    "'qvl: FILE:LINE:COL: MESSAGE' on stderr and exits with 1. With --strict, a\n"
    "document with a table warning, an error cell or a reading warning (what\n"
    "the reader changed to read it, on stderr) also exits with 1.\n"
    "With --why, each table with error values adds a line 'TABLE: CAUSE\n"
    "(explains N of M cells with error values)' after its warning: the cause of\n"
    "its first error value (row by row, the formula row first), 'caused by CELL:\n"
    "MESSAGE' for the cell where the error began or 'cycle: CELL -> ... -> CELL'\n"
    "for a circular reference, and how many of the table's M cells holding an\n"
    "error value (circular references and stopped cells included) it explains.\n";

constexpr const char* kEvalUsage =
    "usage: qvl eval [--typed] [--exact] [--why] [--time-limit SECONDS] FILE EXPR...\n"
    "Evaluates each expression against the document and prints one line per\n"
    "expression: the value's display text; with --typed, the value's class\n"
    "name, a tab, then the text. With --exact a number is written as the\n"
    "shortest text that reads back as the same double. Control characters are\n"
    "shown escaped (\\n, \\x1b). An error value is a value (exit 0). With --why\n"
    "an error value is followed by a tab and its cause: 'caused by CELL: MESSAGE'\n"
    "names the cell where the error began, 'cycle: CELL -> ... -> CELL' the\n"
    "circular reference it comes from.\n";

constexpr const char* kShowUsage =
    "usage: qvl show [--all] [--exact] [--format text|tsv|csv|json]\n"
    "                [--time-limit SECONDS] FILE [TABLE...]\n"
    "Computes the named tables (all, in document order, when none is named)\n"
    "and prints their visible fields (every field with --all) by row: the data\n"
    "rows in display order, then the summary row; --all adds the formula row\n"
    "first. tsv and csv print one table: name it when the document has several.\n"
    "A table's warning is a line 'warning: MESSAGE' under its name in text, a\n"
    "first line '# warning: MESSAGE' in tsv and csv, and \"warning\" in json.\n"
    "Under a table without data rows, each field whose formula row holds an\n"
    "error adds a line 'error in formula row: FIELD: MESSAGE' (in tsv and csv\n"
    "a last line '# error in formula row: FIELD: MESSAGE'), unless --all shows\n"
    "that row.\n"
    "text shows control characters escaped (\\n, \\x1b); json replaces bytes\n"
    "that are not UTF-8 by U+FFFD. With --exact numbers are written as the\n"
    "shortest text that reads back as the same double instead of as displayed.\n";

constexpr const char* kExplainUsage =
    "usage: qvl explain [--depth N] [--format text|json] [--time-limit SECONDS]\n"
    "                   FILE EXPR\n"
    "Computes the expression and prints where its value comes from. The first\n"
    "line is 'EXPR => VALUE' or, when EXPR names a cell (Loan[3].payment, or\n"
    "Loan.rate for the formula row), the cell's line. An error value adds its\n"
    "cause: 'caused by CELL: MESSAGE' or 'cycle: CELL -> ... -> CELL'. Then the\n"
    "cells the value read, each 'CELL := FORMULA => VALUE' ('CELL => VALUE' for\n"
    "a cell without a formula) indented under the cell that read it, N levels\n"
    "deep (3 unless given, at most 64). A cell shown before is shown again as\n"
    "'CELL (see above)' with nothing under it, which also ends a loop. For an\n"
    "error the cells on the way to where it began are shown however deep (up to\n"
    "1000 levels; past them a line '...' and the origin), and that cell's line\n"
    "ends in '<- origin'. A text longer than 1000 bytes is cut and ends in '...';\n"
    "a cell lists at most 1000 cells it read, the tree at most 10000 cells, with\n"
    "a line '...' where cells were left out. A cell name the results hold no\n"
    "cell for (a row past the last) fails with 'qvl: FILE: EXPR: no such cell'.\n"
    "json writes one object: {\"expression\": EXPR, \"cause\": null or {\"kind\":\n"
    "\"origin\", \"cycle\" or \"stopped\", \"text\": CAUSE, \"cells\": [CELL...]},\n"
    "\"tree\": [NODE...], \"complete\": false when cells were left out}. A CELL is\n"
    "{\"name\" (null for EXPR itself), \"formula\" (null for none), \"value\",\n"
    "\"error\": true for an error value}. The tree lists its nodes in the order of\n"
    "the text, each NODE a CELL with \"level\" (0 for EXPR, one more under the\n"
    "cell that read it), \"mark\" (null, \"see above\" or \"origin\"), \"unfolded\"\n"
    "(the cells it read follow it) and \"more\" (some of those were left out).\n";

constexpr const char* kFmtUsage =
    "usage: qvl fmt [--write] FILE\n"
    "Prints the document as the program writes it; --write replaces the file\n"
    "with that text (atomically) instead, keeping its owner, group and\n"
    "permissions; through a symbolic link the file it points to is replaced.\n"
    "FILE must then be a regular file.\n";

constexpr const char* kChartUsage =
    "usage: qvl chart [--time-limit SECONDS] FILE TABLE -o OUT.svg\n"
    "Draws the chart of the table as the chart view of the desktop program\n"
    "does: every trajectory its fields hold (the values of plot), over a grid\n"
    "with labelled ticks, with a legend naming each trajectory's field. The\n"
    "picture is 640 by 480 pixels, written as SVG to OUT.svg, or to standard\n"
    "output for -o -. A table without trajectories gives the grid alone.\n"
    "--time-limit SECONDS stops a computation that takes longer: no file is\n"
    "written and the command fails.\n";

constexpr const char* kRefsUsage =
    "usage: qvl refs [--format text|json] FILE NAME\n"
    "Lists where the table, field or row NAME is used. NAME is Table, Table.field\n"
    "or Table[row] (the row by its name or number); a name that is not a plain\n"
    "word is written in brackets: [My Table].[unit price]. A name counts only\n"
    "where the document's formulas mean that very table, field or row: names\n"
    "hidden by a nearer definition, namesakes in other tables and text inside\n"
    "strings are not listed. One line per place, 'PLACE: TEXT', ending in\n"
    "'(N uses)' when a formula names it N times: first the\n"
    "definitions (the table's header ('table'), the tables extending it\n"
    "('extends NAME'), each table defining the field ('field': a field\n"
    "inherited and overridden is one field), the row's name), then each formula\n"
    "as 'Table.field: FORMULA' ('Table.field[3]' for the formula of row 3,\n"
    "'[sum]' for the summary row), then each view of the layout as 'view:\n"
    "result(...)'. A name after a dot whose table is known only when computing\n"
    "is listed when no other table has a field of that name, marked '(after a\n"
    "dot: the only field of that name)'. An unknown NAME fails with 'qvl: FILE:\n"
    "NAME: no such table' (field, row). json writes {\"target\": NAME,\n"
    "\"references\": [{\"kind\": \"table\", \"extends\", \"field\", \"row name\",\n"
    "\"formula\" or \"view\", \"table\", \"field\", \"row\" (null where none),\n"
    "\"text\", \"offset\" and \"length\" of the name in the formula's text (null\n"
    "for definitions), \"guessed\"}...]}.\n";

constexpr const char* kRenameUsage =
    "usage: qvl rename [--write] [--diff] FILE OLD NEW\n"
    "Renames the table, field or row OLD (written as for qvl refs) to NEW and\n"
    "prints the document as it would then be written. Every formula, row\n"
    "formula, base-table clause and view that means OLD is rewritten, and only\n"
    "the characters of those names change: comments, layout and formatting stay.\n"
    "A field is renamed in its base table and in every table extending it. A\n"
    "name after a dot whose table is known only when computing is renamed when\n"
    "no other table has a field of that name and otherwise left as it is. NEW is\n"
    "written in brackets where it is not a plain word. A line on stderr says\n"
    "what changed: 'qvl: FILE: OLD -> NEW: N formulas in T tables, V views'.\n"
    "--diff prints a unified diff against the file instead of the document;\n"
    "--write replaces the file (atomically) as fmt --write does. Nothing is\n"
    "written and the command fails with 'qvl: FILE: MESSAGE' when OLD is not\n"
    "found, when NEW is taken in OLD's scope ('the name NEW is taken in table\n"
    "T'), is not a valid name, or would change what another name of the\n"
    "document means.\n";

constexpr const char* kImportUsage =
    "usage: qvl import --table NAME [--key FIELD] [--delimiter , | ; | tab]\n"
    "                  [--decimal-comma] [--no-header] [--encoding utf-8|latin-1]\n"
    "                  [--write] FILE DATA\n"
    "Reads the CSV or TSV file DATA (- for standard input) into the table NAME\n"
    "of the document and prints the document as it would then be written;\n"
    "--write replaces FILE (atomically) as fmt --write does. The delimiter is\n"
    "guessed from the first lines unless given; the first row names the fields\n"
    "unless --no-header (names are made valid and unique: 'amount 2'). Cells\n"
    "become the table's data rows: a column of numbers as numbers (with\n"
    "--decimal-comma written 1,5), of true and false as Booleans, any other as\n"
    "texts; empty cells stay empty. When NAME exists its data rows are\n"
    "refreshed: with --key, rows are matched by the value of FIELD, updated,\n"
    "added and removed, and cells of fields the data does not have go with\n"
    "their rows; without it the data rows are replaced. Field formulas and the\n"
    "tables that extend or read NAME are kept. A line on stderr says what\n"
    "changed: 'qvl: FILE: refreshed NAME: U updated, A added, R removed'. Bad\n"
    "data fails with 'qvl: DATA:LINE:COL: MESSAGE' and nothing is written.\n";

}  // namespace

const char* usageOf(const std::string& command) {
    if (command == "check") return kCheckUsage;
    if (command == "eval") return kEvalUsage;
    if (command == "show") return kShowUsage;
    if (command == "explain") return kExplainUsage;
    if (command == "fmt") return kFmtUsage;
    if (command == "chart") return kChartUsage;
    if (command == "refs") return kRefsUsage;
    if (command == "rename") return kRenameUsage;
    if (command == "import") return kImportUsage;
    return kToolUsage;
}

}  // namespace qv::cli
