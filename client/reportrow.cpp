#include "client/reportrow.h"

#include "client/enginevalues.h"

namespace nimbra {

bool ReportRow::read(lindor::IBug* bug, ReportRow* row)
{
    if (bug == nullptr) return false;
    using lindor::IBug;
    row->id = NumberOf(bug, &IBug::get_ID);
    row->description = TextOf(bug, &IBug::get_Description);
    row->status = TextOf(bug, &IBug::get_Status);
    row->priority = TextOf(bug, &IBug::get_Priority);
    row->severity = TextOf(bug, &IBug::get_Severity);
    row->reproductive = TextOf(bug, &IBug::get_Reproductive);
    row->classification = TextOf(bug, &IBug::get_Classification);
    return true;
}

}  // namespace nimbra
