#include "support/machine/temp_dir.h"

#include <stdexcept>

#ifdef _WIN32
#include <random>
#include <sstream>
#else
#include <stdlib.h>
#endif

namespace volumetra {

TempDir::TempDir() {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
#ifdef _WIN32
  // create_directory fails where the name is taken: the directory is ours alone.
  static std::mt19937_64 random{std::random_device{}()};
  for (;;) {
    std::ostringstream name;
    name << "volumetra-test-" << std::hex << random();
    path_ = base / name.str();
    if (std::filesystem::create_directory(path_)) return;
  }
#else
  std::string pattern = (base / "volumetra-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("no temporary directory in " + base.string());
  // The real path, as the mount table shows the mounts made in it.
  path_ = std::filesystem::canonical(pattern);
#endif
}

TempDir::~TempDir() {
  // A test may have taken its own rights away to see the program fail; the owner's come back.
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                               ec);
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::MakeDirectory(const std::string& name) const {
  const std::filesystem::path directory = path_ / name;
  std::filesystem::create_directories(directory);
  return directory.string();
}

}  // namespace volumetra
