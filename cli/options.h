// Everything the command line asked for, as plain values.
#pragma once

#include <string>
#include <vector>

namespace cli {

// Where and as whom a command works.
struct ConnectionOptions {
    std::string database;  // --db, else NIMBRA_DB
    std::string user;      // --user, else NIMBRA_USER
    std::string project;   // --project: a name or an ID
    std::string version;   // --version: a name or an ID
};

// Which bugs a listing or an export covers, and in which order.
struct QueryOptions {
    std::string type = "all";             // bug, feature or all
    std::vector<std::string> conditions;  // --where 'FIELD OP VALUE', all of them must hold
    std::string sort;                     // FIELD or FIELD:desc
    int limit = 0;                        // 0: no limit
};

struct Options {
    std::string command;
    ConnectionOptions connection;
    QueryOptions query;
    std::string path;    // create, demo: the new database
    int bugs = 300;      // demo
    unsigned seed = 1;   // demo
    std::string today;   // demo: the last day of the made-up year (YYYY-MM-DD); empty: today
    std::string format;  // table, csv, json or text; empty: the command's default
    std::vector<std::string> fields;  // list: the columns to show
    bool rtf = false;                 // give the stored RTF of the long texts instead of plain text
    std::string output;               // export: the file to write (standard output when empty)
    std::vector<std::string> assignments;  // --set FIELD=VALUE
    int id = 0;                            // the bug
    std::string file;                      // attach, import: the file to read
    std::string name;                      // get-attachment: the attachment's name
    std::string destination;               // get-attachment: where to write it
};

}  // namespace cli
