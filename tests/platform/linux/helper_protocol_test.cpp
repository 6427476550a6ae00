#include "platform/linux/helper_protocol.h"

#include <gtest/gtest.h>

namespace volumetra {
namespace {

using Kind = HangingCall::Kind;

TEST(HelperProtocol, RequestsComeThroughWhole) {
  for (const HangingCall& call : {HangingCall{Kind::StatFileSystem, "/srv/share with space"},
                                  HangingCall{Kind::ProbeBlockDevice, "/dev/sdb1"},
                                  HangingCall{Kind::StatFileSystem, std::string(kMaxRequestPath, 'x')}}) {
    const std::optional<std::string> packet = EncodeRequest(call);
    ASSERT_TRUE(packet);
    EXPECT_LE(packet->size(), kMaxRequestBytes);
    EXPECT_EQ(DecodeRequest(*packet), call);
  }
  EXPECT_FALSE(EncodeRequest({Kind::StatFileSystem, std::string(kMaxRequestPath + 1, 'x')}));
}

TEST(HelperProtocol, RefusesPacketsThatAreNoRequest) {
  EXPECT_FALSE(DecodeRequest(""));
  EXPECT_FALSE(DecodeRequest(std::string(1, '\x07') + "/"));
  EXPECT_FALSE(DecodeRequest(std::string(1, '\x01') + std::string("/a\0b", 4)));
  EXPECT_FALSE(DecodeRequest(std::string(1, '\x01') + std::string(kMaxRequestPath + 1, 'x')));
}

TEST(HelperProtocol, RepliesComeThroughWhole) {
  HangingCallResult stats;
  stats.kind = Kind::StatFileSystem;
  stats.ok = true;
  stats.stats = FileSystemStats{4096, 8192, 1ull << 40, 12345, 0xfeedfacecafebeefull, 255, true};
  const std::optional<HangingCallResult> back = DecodeReply(EncodeReply(stats));
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->ok);
  EXPECT_FALSE(back->lost);
  EXPECT_EQ(back->stats.totalBlocks, 1ull << 40);
  EXPECT_EQ(back->stats.fileSystemId, 0xfeedfacecafebeefull);
  EXPECT_EQ(back->stats.maxNameLength, 255u);
  EXPECT_TRUE(back->stats.readOnly);

  HangingCallResult probe;
  probe.kind = Kind::ProbeBlockDevice;
  probe.ok = true;
  probe.identity = {"My Disk", "1A2B-3C4D"};
  const std::optional<HangingCallResult> identity = DecodeReply(EncodeReply(probe));
  ASSERT_TRUE(identity);
  EXPECT_EQ(identity->kind, Kind::ProbeBlockDevice);
  EXPECT_EQ(identity->identity.label, "My Disk");
  EXPECT_EQ(identity->identity.uuid, "1A2B-3C4D");

  HangingCallResult failed;
  failed.kind = Kind::ProbeBlockDevice;
  probe.identity.label = std::string(kMaxReplyText + 50, 'L');  // cut to what a reply carries
  const std::string longReply = EncodeReply(probe);
  EXPECT_LE(longReply.size(), kMaxReplyBytes);
  EXPECT_EQ(DecodeReply(longReply)->identity.label.size(), kMaxReplyText);
  EXPECT_FALSE(DecodeReply(EncodeReply(failed))->ok);
}

TEST(HelperProtocol, RefusesPacketsThatAreNoReply) {
  HangingCallResult stats;
  stats.ok = true;
  const std::string good = EncodeReply(stats);
  EXPECT_FALSE(DecodeReply(""));
  EXPECT_FALSE(DecodeReply(good.substr(0, good.size() - 1)));  // cut short
  EXPECT_FALSE(DecodeReply(good + "x"));                       // trailing bytes
  std::string badOk = good;
  badOk[1] = 2;
  EXPECT_FALSE(DecodeReply(badOk));
  HangingCallResult probe;
  probe.kind = Kind::ProbeBlockDevice;
  probe.identity.label = "abc";
  std::string overlong = EncodeReply(probe);
  overlong[2] = '\x7f';  // a label length past the end
  EXPECT_FALSE(DecodeReply(overlong));
}

}  // namespace
}  // namespace volumetra
