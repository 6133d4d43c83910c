#include "users/CBugReproductive.h"

#include "core/ClassRegistry.h"

namespace lindor {
namespace {

const ClassRegistration registration("BugReproductive", &CreateInstance<CBugReproductive>);

}  // namespace
}  // namespace lindor
