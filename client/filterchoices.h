// The entries a list field of a filter condition offers, read from the
// context once per dialog: the name lists, the users' names, the active
// project's versions and its classifications.
#pragma once

#include <lindor/lindor.h>

#include <QMap>
#include <QStringList>

#include "client/filterfields.h"

namespace nimbra {

class FilterChoices {
public:
    explicit FilterChoices(lindor::IExeContext* context) : context_(context) {}

    // Empty, with the engine's description in `error`, when the engine refused.
    QStringList of(FilterFields::Choices choices, QString* error);

private:
    bool read(FilterFields::Choices choices, QStringList* names);

    lindor::IExeContext* context_;
    QMap<FilterFields::Choices, QStringList> read_;
};

}  // namespace nimbra
