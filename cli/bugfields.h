// The fields of a bug as the command line names them (the engine's IBug
// property names), with how each is read, written, filtered, sorted and
// guarded by the rights of the active project.
#pragma once

#include <string>
#include <vector>

#include <lindor/lindor.h>

#include "bugrules/fieldrights.h"

#include "catalog.h"

namespace cli {

enum class FieldKind {
    Id,              // the bug's number
    Type,            // Bug or Feature
    Text,            // a one-line text
    RichText,        // RTF in the database, plain text on the command line
    Listed,          // a name from one of the name lists
    Classification,  // a classification of the project, by name
    Project,         // the project reported in, by name
    Version,         // a version of the project, by name
    User,            // a user, by login or name
    Date,
    Minutes
};

using TextGetter = lindor::HRESULT (lindor::IBug::*)(std::string*);
using TextSetter = lindor::HRESULT (lindor::IBug::*)(const std::string&);
using NumberGetter = lindor::HRESULT (lindor::IBug::*)(std::int32_t*);
using NumberSetter = lindor::HRESULT (lindor::IBug::*)(std::int32_t);
using DateGetter = lindor::HRESULT (lindor::IBug::*)(lindor::Date*);
using DateSetter = lindor::HRESULT (lindor::IBug::*)(lindor::Date);
using RightFlag = bugrules::RightFlag;

struct BugField {
    const char* name;
    FieldKind kind;
    lindor::eBugField sortColumn;
    // The column a condition compares with (the stored name for look-ups);
    // null when the field cannot be used in a condition.
    const char* filterColumn;
    // For users: the number column that = and <> compare with.
    const char* filterIdColumn;
    // The right an update of the field needs; null when none is needed.
    RightFlag editRight;
    // Whether --set may give the field (the others are set by the rules of
    // a report: numbers, people, the project, the last change).
    bool settable;
    NameList list;           // Listed
    TextGetter getText;      // texts, and the stored name of a look-up
    TextSetter setText;      // texts and Listed
    NumberGetter getNumber;  // Id, Minutes, and the number of a look-up
    NumberSetter setNumber;  // Minutes, and the number of a look-up
    DateGetter getDate;
    DateSetter setDate;
};

// Every field in the order a record lists them.
const std::vector<BugField>& BugFields();

// The field of that name (letter case aside); a usage error for an unknown name.
const BugField& FindBugField(const std::string& name);

}  // namespace cli
