#include "client/bugtextfields.h"

namespace nimbra {

namespace {

using bugrules::EditableField;
using lindor::IBug;

const BugTextField kFields[BugTextFields::kCount] = {
    {"Report", &IBug::get_Report, &IBug::put_Report, EditableField::Report},
    {"Recreate Step", &IBug::get_RecreateStep, &IBug::put_RecreateStep,
     EditableField::RecreateStep},
    {"Workaround", &IBug::get_Workaround, &IBug::put_Workaround, EditableField::Workaround},
    {"Resolution", &IBug::get_Resolution, &IBug::put_Resolution, EditableField::Resolution},
};

}  // namespace

const BugTextField& BugTextFields::at(int index)
{
    return kFields[index >= 0 && index < kCount ? index : 0];
}

}  // namespace nimbra
