#include "classifications/CClassification.h"
#include "core/OutParam.h"

#include "core/ClassRegistry.h"

namespace lindor {
namespace {

const ClassRegistration registration("Classification", &CreateInstance<CClassification>);

template <class T>
HRESULT Give(const T& value, T* out)
{
    return GiveOut(value, out);
}

}  // namespace

HRESULT CClassification::get_Name(std::string* out)
{
    return Give(name_, out);
}

HRESULT CClassification::put_Name(const std::string& value)
{
    name_ = value;
    return S_OK;
}

HRESULT CClassification::get_ID(std::int32_t* out)
{
    return Give(id_, out);
}

HRESULT CClassification::put_ID(std::int32_t value)
{
    id_ = value;
    return S_OK;
}

HRESULT CClassification::get_ProjectID(std::int32_t* out)
{
    return Give(projectID_, out);
}

}  // namespace lindor
