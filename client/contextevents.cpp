#include "client/contextevents.h"

#include <cstring>

namespace nimbra {

ContextEvents::ContextEvents(QObject* parent) : QObject(parent) {}

ContextEvents::~ContextEvents()
{
    disconnectFromContext();
}

bool ContextEvents::connectTo(lindor::IExeContext* context)
{
    disconnectFromContext();
    if (context == nullptr || context->Advise(this, &cookie_) != lindor::S_OK) return false;
    context_ = lindor::ComPtr<lindor::IExeContext>(context);
    return true;
}

void ContextEvents::disconnectFromContext()
{
    if (!context_) return;
    context_->Unadvise(cookie_);
    context_.reset();
}

std::uint32_t ContextEvents::AddRef()
{
    return ++references_;
}

std::uint32_t ContextEvents::Release()
{
    return references_ > 0 ? --references_ : 0;
}

lindor::HRESULT ContextEvents::QueryInterface(const char* iid, void** out)
{
    if (out == nullptr) return lindor::E_FAIL;
    *out = nullptr;
    if (iid == nullptr || (std::strcmp(iid, lindor::IExeContextEvents::IID) != 0 &&
                           std::strcmp(iid, lindor::IUnknown::IID) != 0))
        return lindor::E_FAIL;
    AddRef();
    *out = static_cast<lindor::IExeContextEvents*>(this);
    return lindor::S_OK;
}

lindor::HRESULT ContextEvents::OnLogin(std::int32_t bOK, const std::string& login,
                                       const std::string& /*psw*/)
{
    emit loggedIn(bOK != 0, QString::fromStdString(login));
    return lindor::S_OK;
}

lindor::HRESULT ContextEvents::OnActiveProject(std::int32_t bOK, std::int32_t projectID,
                                               std::int32_t versionID)
{
    emit projectActivated(bOK != 0, projectID, versionID);
    return lindor::S_OK;
}

}  // namespace nimbra
