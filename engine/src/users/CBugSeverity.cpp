#include "users/CBugSeverity.h"

#include "core/ClassRegistry.h"

namespace lindor {
namespace {

const ClassRegistration registration("BugSeverity", &CreateInstance<CBugSeverity>);

}  // namespace
}  // namespace lindor
