#include "projects/CVersion.h"

#include "core/ClassRegistry.h"
#include "core/OutParam.h"

namespace lindor {
namespace {

const ClassRegistration registration("Version", &CreateInstance<CVersion>);

}  // namespace

HRESULT CVersion::get_ID(std::int32_t* out)
{
    return GiveOut(id_, out);
}
HRESULT CVersion::get_Name(std::string* out)
{
    return GiveOut(name_, out);
}

HRESULT CVersion::put_Name(const std::string& value)
{
    return TakeIn(value, &name_);
}

HRESULT CVersion::get_Description(std::string* out)
{
    return GiveOut(description_, out);
}

HRESULT CVersion::put_Description(const std::string& value)
{
    return TakeIn(value, &description_);
}

HRESULT CVersion::get_ReleaseDate(Date* out)
{
    return GiveOut(releaseDate_, out);
}

HRESULT CVersion::put_ReleaseDate(Date value)
{
    return TakeIn(value, &releaseDate_);
}

}  // namespace lindor
