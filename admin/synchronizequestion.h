// After a user or a project changed: asks whether the names stored in the
// bugs should follow, and on Yes has the engine rewrite them.
#pragma once

#include <lindor/lindor.h>

class QWidget;

namespace nimbra {

class SynchronizeQuestion {
public:
    // True when the names were rewritten.
    static bool ask(QWidget* parent, lindor::IExeContext* context);
};

}  // namespace nimbra
