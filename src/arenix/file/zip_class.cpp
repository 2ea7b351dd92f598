#include "arenix/file/zip_class.h"

#include <sys/stat.h>

#include "arenix/file/file_ops.h"
#include "automation/runtime.h"
#include "platform/archive.h"
#include "platform/shell_file_op.h"
#include "platform/sandboxed_files.h"

namespace arenix::file {

using automation::Trim;

namespace {
std::vector<Text> Masks(TextView list) {
  std::vector<Text> out;
  if (list.empty()) return out;
  for (auto& m : automation::Split(list, u"|"))
    if (!m.empty()) out.push_back(std::move(m));
  return out;
}

// Deletes what a folder holds, files first and then folders; errors are
// ignored, as the original cleared the target folder.
void EmptyFolder(const platform::Site& site, TextView folder) {
  auto entries = platform::ListFolder(site, folder);
  if (!entries) return;
  Text base = Text(folder) + u"\\";
  for (const auto& e : *entries)
    if (!e.is_folder) platform::ShellFileOperation(site, base + e.name, u"", platform::ShellAction::kDelete);
  for (const auto& e : *entries)
    if (e.is_folder) platform::ShellFileOperation(site, base + e.name, u"", platform::ShellAction::kDelete);
}
}  // namespace

bool Orvel_Class_Zip::CompressFile(TextView base_path, TextView files_list, TextView zip_filename,
                                   TextView password) {
  if (FileExist(site_, zip_filename)) FileDelete(site_, zip_filename);
  auto base = site_.Resolve(base_path);
  auto zip = site_.Resolve(zip_filename);
  if (!base || !zip) return false;
  return platform::WriteZip(*base, Masks(files_list), *zip, password);
}

bool Orvel_Class_Zip::UnCompressFile(TextView zip_filename, TextView folder, int16_t del_old_file,
                                     TextView file_list, TextView password) {
  if (del_old_file != 0) {
    auto native = site_.Resolve(folder);
    if (!native) return false;
    struct stat st;
    if (::stat(native->c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      EmptyFolder(site_, folder);
    } else if (::mkdir(native->c_str(), 0777) != 0) {
      throw automation::Error(automation::err::kPathNotFound);
    }
  }
  auto zip = site_.Resolve(zip_filename);
  auto target = site_.Resolve(folder);
  if (!zip || !target) return false;
  return platform::ExtractArchive(*zip, *target, Masks(Trim(file_list)), password);
}

}  // namespace arenix::file
