#pragma once

#include <string_view>

namespace qv {

// Shown when a log's header is not the one its tab reads.
inline constexpr std::string_view kInvalidFileFormat = "Error : Invalid file format";
// Followed by " : " and the system's text when a log file cannot be opened.
inline constexpr std::string_view kOpenErrorPrefix = "CFile::Open Error";

}  // namespace qv
