#pragma once

namespace sonvex {
inline constexpr const char* kApplicationName = "Sonvex";
inline constexpr const char* kOrganisationName = "Meridan Instruments Ltd";
inline constexpr const char* kVersion = "3.0.0";
} // namespace sonvex
