#pragma once

#include <optional>
#include <string>

#include "filter/filter_criteria.h"

namespace qv {

// Checks the text fields in the order the user is told about them (Time,
// Remote IP, Local IP, Remote Port, Local Port) and answers the message of
// the first invalid one, or nothing when all are valid. Name fields take any text.
std::optional<std::string> validateCriteria(const FilterCriteria& criteria);

}  // namespace qv
