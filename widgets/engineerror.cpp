#include "widgets/engineerror.h"

#include <lindor/lindor.h>

#include "widgets/messages.h"

namespace nimbra {

QString EngineError::text()
{
    std::string description;
    if (!lindor::GetErrorInfo(&description, nullptr) || description.empty())
        return QStringLiteral("The operation failed.");
    return QString::fromStdString(description).trimmed();
}

void EngineError::show(QWidget* parent)
{
    Messages::error(parent, text());
}

}  // namespace nimbra
