#pragma once
// The executable's version record.
#include <string_view>

namespace korzenik::res {

inline constexpr int kVersion[4] = {1, 0, 0, 1};
inline constexpr std::string_view kFileVersion = "1, 0, 0, 1";
inline constexpr std::string_view kProductVersion = "1, 0, 0, 1";
inline constexpr std::string_view kVersionDotted = "1.0.0.1";
inline constexpr std::string_view kCompanyName = "";
inline constexpr std::string_view kFileDescription = "Korzenik MFC Application";
inline constexpr std::string_view kInternalName = "Korzenik";
inline constexpr std::string_view kLegalCopyright = "Copyright (C) 2026 the Korzenik authors";
inline constexpr std::string_view kLegalTrademarks = "";
inline constexpr std::string_view kOriginalFilename = "Korzenik.EXE";
inline constexpr std::string_view kProductName = "Korzenik Application";

}  // namespace korzenik::res
