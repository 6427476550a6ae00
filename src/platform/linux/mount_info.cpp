#include "platform/linux/mount_info.h"

#include <libmount.h>
#include <sys/sysmacros.h>

#include <charconv>
#include <cstdio>
#include <memory>

namespace volumetra {
namespace {

struct TableRelease {
  void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IteratorRelease {
  void operator()(libmnt_iter* iterator) const { mnt_free_iter(iterator); }
};
struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Text(const char* text) {
  return text ? text : "";
}

// libmount takes a table for a mount table (rather than fstab) by its first line, which begins with
// the mount id and the parent id. Lines before the first such line are out of shape, and go.
std::string_view FromFirstMountLine(std::string_view text) {
  while (!text.empty()) {
    unsigned id = 0;
    const char* const end = text.data() + text.size();
    const auto [afterId, error] = std::from_chars(text.data(), end, id);
    if (error == std::errc() && afterId != end && *afterId == ' ' &&
        std::from_chars(afterId + 1, end, id).ec == std::errc())
      return text;
    const std::size_t lineEnd = text.find('\n');
    text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
  }
  return text;
}

MountEntry EntryOf(libmnt_fs* fs) {
  MountEntry entry;
  entry.mountId = mnt_fs_get_id(fs);
  entry.parentId = mnt_fs_get_parent_id(fs);
  const dev_t device = mnt_fs_get_devno(fs);
  entry.device = DeviceNumber{major(device), minor(device)};
  entry.root = Text(mnt_fs_get_root(fs));
  entry.mountPoint = Text(mnt_fs_get_target(fs));
  entry.fileSystemType = Text(mnt_fs_get_fstype(fs));
  entry.source = Text(mnt_fs_get_source(fs));
  return entry;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  text = FromFirstMountLine(text);
  if (text.empty()) return entries;
  // libmount reads a stream; the text is one in memory.
  const std::unique_ptr<std::FILE, FileClose> stream(
      fmemopen(const_cast<char*>(text.data()), text.size(), "r"));
  const std::unique_ptr<libmnt_table, TableRelease> table(mnt_new_table());
  const std::unique_ptr<libmnt_iter, IteratorRelease> iterator(mnt_new_iter(MNT_ITER_FORWARD));
  if (!stream || !table || !iterator) return entries;
  // Without a callback for parse errors, libmount skips each line it cannot parse.
  mnt_table_parse_stream(table.get(), stream.get(), "mountinfo");
  libmnt_fs* fs = nullptr;
  while (mnt_table_next_fs(table.get(), iterator.get(), &fs) == 0) entries.push_back(EntryOf(fs));
  return entries;
}

}  // namespace volumetra
