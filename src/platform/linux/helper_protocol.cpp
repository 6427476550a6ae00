#include "platform/linux/helper_protocol.h"

#include <cstdint>
#include <cstring>

namespace volumetra {
namespace {

using Kind = HangingCall::Kind;

constexpr std::size_t kStatsNumbers = 7;

bool IsKind(std::uint8_t byte) {
  return byte == static_cast<std::uint8_t>(Kind::StatFileSystem) ||
         byte == static_cast<std::uint8_t>(Kind::ProbeBlockDevice);
}

template <typename Number>
void Append(std::string& out, Number value) {
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  out.append(bytes, sizeof value);
}

void AppendText(std::string& out, const std::string& text) {
  const std::size_t length = std::min(text.size(), kMaxReplyText);
  Append(out, static_cast<std::uint16_t>(length));
  out.append(text, 0, length);
}

// Reads from the front of `in`, which shrinks; false when too little is left.
template <typename Number>
bool Take(std::string_view& in, Number& value) {
  if (in.size() < sizeof value) return false;
  std::memcpy(&value, in.data(), sizeof value);
  in.remove_prefix(sizeof value);
  return true;
}

bool TakeText(std::string_view& in, std::string& text) {
  std::uint16_t length = 0;
  if (!Take(in, length) || length > kMaxReplyText || in.size() < length) return false;
  text.assign(in.substr(0, length));
  in.remove_prefix(length);
  return true;
}

}  // namespace

std::optional<std::string> EncodeRequest(const HangingCall& call) {
  if (call.path.size() > kMaxRequestPath) return std::nullopt;
  std::string packet(1, static_cast<char>(call.kind));
  packet += call.path;
  return packet;
}

std::optional<HangingCall> DecodeRequest(std::string_view packet) {
  if (packet.empty() || packet.size() > kMaxRequestBytes) return std::nullopt;
  const auto kind = static_cast<std::uint8_t>(packet[0]);
  const std::string_view path = packet.substr(1);
  if (!IsKind(kind) || path.find('\0') != std::string_view::npos) return std::nullopt;
  return HangingCall{static_cast<Kind>(kind), std::string(path)};
}

std::string EncodeReply(const HangingCallResult& result) {
  std::string packet;
  packet += static_cast<char>(result.kind);
  packet += static_cast<char>(result.ok ? 1 : 0);
  if (result.kind == Kind::StatFileSystem) {
    const FileSystemStats& s = result.stats;
    for (std::uint64_t n : {s.fragmentSize, s.blockSize, s.totalBlocks, s.availableBlocks, s.fileSystemId,
                            s.maxNameLength, std::uint64_t{s.readOnly}})
      Append(packet, n);
  } else {
    AppendText(packet, result.identity.label);
    AppendText(packet, result.identity.uuid);
  }
  return packet;
}

std::optional<HangingCallResult> DecodeReply(std::string_view packet) {
  std::uint8_t kind = 0, ok = 0;
  if (!Take(packet, kind) || !Take(packet, ok) || !IsKind(kind) || ok > 1) return std::nullopt;
  HangingCallResult result;
  result.kind = static_cast<Kind>(kind);
  result.ok = ok == 1;
  if (result.kind == Kind::StatFileSystem) {
    std::uint64_t n[kStatsNumbers] = {};
    for (std::uint64_t& number : n)
      if (!Take(packet, number)) return std::nullopt;
    if (n[6] > 1) return std::nullopt;
    result.stats = FileSystemStats{n[0], n[1], n[2], n[3], n[4], n[5], n[6] == 1};
  } else if (!TakeText(packet, result.identity.label) || !TakeText(packet, result.identity.uuid)) {
    return std::nullopt;
  }
  if (!packet.empty()) return std::nullopt;
  return result;
}

}  // namespace volumetra
