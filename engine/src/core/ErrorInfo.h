// Per-thread error information: the description a failing call leaves for its
// caller, and the external class name of the class that reported it.
#pragma once

#include <string>

namespace lindor {

void SetErrorInfo(const std::string& description, const std::string& source);
bool GetThreadErrorInfo(std::string* description, std::string* source);

}  // namespace lindor
