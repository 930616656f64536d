// The table's file (".rtpx"): a private-profile file of the points, their
// companions and a format version, written atomically.
#pragma once

#include "RouteplanValues.h"

#include <string>

namespace routeplan {

inline constexpr const char* kRtpxFilter = "RTP Files (*.rtpx);;All Files (*)";
inline constexpr std::size_t kRtpxMaxBytes = 1u << 20;

// The file's text for `values`.
std::string RtpxText(const RouteplanValues& values);
// Writes the file atomically; false leaves an existing file untouched.
bool ExportRtpx(const std::string& path, const RouteplanValues& values);

enum class RtpxError {
    None,
    Unreadable, // missing, not a regular file, larger than 1 MiB or a failed read
    Binary,     // holds NUL bytes
    BadLine,    // a line that is no section, comment or key=value line
    NotRtpx,    // no "RTP Setup" section
};
struct RtpxImport {
    RtpxError error = RtpxError::None;
    std::size_t line = 0; // BadLine: its number, from 1
    bool ok() const { return error == RtpxError::None; }
};

// Reads the file into `values` (keys missing read 0, descriptions empty). A
// refused file leaves `values` unchanged.
RtpxImport ImportRtpx(const std::string& path, RouteplanValues& values);

} // namespace routeplan
