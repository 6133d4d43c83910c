// The four rich-text fields of a bug, in the order of their pages: what each
// is called, how it is read and written, and the right that lets a user
// change it.
#pragma once

#include <lindor/lindor.h>

#include "bugrules/fieldrights.h"

namespace nimbra {

struct BugTextField {
    const char* title;
    lindor::HRESULT (lindor::IBug::*get)(std::string*);
    lindor::HRESULT (lindor::IBug::*put)(const std::string&);
    bugrules::EditableField right;
};

class BugTextFields {
public:
    static constexpr int kCount = 4;
    // 0 "Report", 1 "Recreate Step", 2 "Workaround", 3 "Resolution"; an
    // index outside gives the report.
    static const BugTextField& at(int index);
};

}  // namespace nimbra
