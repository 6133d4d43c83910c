#include "admin/CAdmin.h"

#include "core/ClassRegistry.h"
#include "core/ErrorReport.h"
#include "schema/CreateDB.h"

namespace lindor {
namespace {

const ClassRegistration registration("Admin", &CreateInstance<CAdmin>);

const Reporter& Report()
{
    static const Reporter reporter(ExternalClassName("Admin"));
    return reporter;
}

HRESULT NotBuiltYet(const char* member)
{
    return Report().Fail(std::string("Admin.") + member +
                             " is not available in this version of the engine.",
                         kLogGeneral, std::string("CAdmin::") + member);
}

}  // namespace

HRESULT CAdmin::get_UserSet(IUserSet** out)
{
    if (out != nullptr) *out = nullptr;
    return NotBuiltYet("UserSet");
}

HRESULT CAdmin::get_ProjectSet(IProjectSet** out)
{
    if (out != nullptr) *out = nullptr;
    return NotBuiltYet("ProjectSet");
}

// The creation has logged its cause; NewMDB adds no description of its own.
HRESULT CAdmin::NewMDB(const std::string& fileName) { return CreateDB(fileName) ? S_OK : E_FAIL; }

HRESULT CAdmin::SetUserRight(std::int32_t, IUserRight*) { return NotBuiltYet("SetUserRight"); }

HRESULT CAdmin::NewSQLDB(const std::string&, const std::string&) { return S_OK; }

HRESULT CAdmin::Advise(IAdminEvents* sink, std::uint32_t* cookie)
{
    if (sinks_.Advise(sink, cookie)) return S_OK;
    return Report().Fail("Advise failed: no event sink given", kLogGeneral, "CAdmin::Advise");
}

HRESULT CAdmin::Unadvise(std::uint32_t cookie)
{
    if (sinks_.Unadvise(cookie)) return S_OK;
    return Report().Fail(Format("Unadvise failed: no subscription %u", cookie), kLogGeneral,
                         "CAdmin::Unadvise");
}

}  // namespace lindor
