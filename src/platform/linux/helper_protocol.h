#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/hanging_call.h"

namespace volumetra {

/// The messages between the program and its volume helper process, one per packet of a
/// SOCK_SEQPACKET socket pair, in the machine's own byte order (both ends run on it).
/// A request is the call's kind (one byte) followed by its path. A reply is the kind, a byte that
/// is 1 when the call succeeded, and the answer: seven 64-bit numbers for StatFileSystem; the
/// label and the UUID, each as a 16-bit length and its bytes, for ProbeBlockDevice.

/// The helper's descriptors: the socket to the program as its standard input, and, where the
/// program gives it one, the mount's lock file (VolumeLock), which it locks while in a call.
inline constexpr int kHelperSocket = 0;
inline constexpr int kHelperLock = 3;

/// Longest path a request carries (PATH_MAX).
inline constexpr std::size_t kMaxRequestPath = 4096;
/// Longest label or UUID a reply carries.
inline constexpr std::size_t kMaxReplyText = 1024;
/// Buffer sizes that hold any request and any reply.
inline constexpr std::size_t kMaxRequestBytes = 1 + kMaxRequestPath;
inline constexpr std::size_t kMaxReplyBytes = 2 + 2 * (2 + kMaxReplyText) + 7 * 8;

/// nullopt when the path is longer than a request can carry.
std::optional<std::string> EncodeRequest(const HangingCall& call);
/// nullopt for a packet that is not a request.
std::optional<HangingCall> DecodeRequest(std::string_view packet);

/// Texts longer than a reply can carry are cut.
std::string EncodeReply(const HangingCallResult& result);
/// nullopt for a packet that is not a reply.
std::optional<HangingCallResult> DecodeReply(std::string_view packet);

}  // namespace volumetra
