#pragma once
// The product's own addresses and version texts, kept in one place so that a distributor can
// change them.
namespace brevane::product {

inline constexpr const char* kName = "Brevane";
inline constexpr const char* kVersionLine = "Version: 2.00";
// The version named in the support mail's subject line.
inline constexpr const char* kMailVersion = "1.00";
inline constexpr const char* kHomePageUrl = "https://brevane.example.org/";
inline constexpr const char* kSupportMailbox = "support@brevane.example.org";

}  // namespace brevane::product
