#include "admin/synchronizequestion.h"

#include "widgets/engineerror.h"
#include "widgets/messages.h"
#include "widgets/waitcursor.h"

namespace nimbra {

bool SynchronizeQuestion::ask(QWidget* parent, lindor::IExeContext* context)
{
    if (!Messages::askYesNo(parent, QStringLiteral("The user's property changed. Do you want to "
                                                   "synchronize the database so that consistancy "
                                                   "is maintained ?")))
        return false;
    lindor::HRESULT result = lindor::S_OK;
    {
        WaitCursor wait;
        result = context->Synchronize();
    }
    if (result == lindor::S_OK) return true;
    EngineError::show(parent);
    return false;
}

}  // namespace nimbra
