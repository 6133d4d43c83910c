#include "client/reportrow.h"

#include "client/enginevalues.h"

namespace nimbra {

bool ReportRow::read(lindor::IBug* bug, ReportRow* row)
{
    if (bug == nullptr) return false;
    using lindor::IBug;
    row->id = EngineValues::number(bug, &IBug::get_ID);
    row->description = EngineValues::text(bug, &IBug::get_Description);
    row->status = EngineValues::text(bug, &IBug::get_Status);
    row->priority = EngineValues::text(bug, &IBug::get_Priority);
    row->severity = EngineValues::text(bug, &IBug::get_Severity);
    row->reproductive = EngineValues::text(bug, &IBug::get_Reproductive);
    row->classification = EngineValues::text(bug, &IBug::get_Classification);
    return true;
}

}  // namespace nimbra
